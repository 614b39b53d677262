#pragma once

#include <QRandomGenerator>

// Normally distributed numbers (mean 0, deviation 1) from a seeded generator, so a run of
// the simulator can be repeated exactly.
class GaussianNoise
{
public:
    explicit GaussianNoise(quint32 seed = 1);

    void reseed(quint32 seed);
    double next();

private:
    QRandomGenerator m_random;
    bool m_haveSpare = false;
    double m_spare = 0.0;
};
