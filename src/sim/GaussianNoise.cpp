#include "GaussianNoise.h"

#include <cmath>

GaussianNoise::GaussianNoise(quint32 seed)
    : m_random(seed)
{
}

void GaussianNoise::reseed(quint32 seed)
{
    m_random.seed(seed);
    m_haveSpare = false;
}

double GaussianNoise::next()
{
    // Box-Muller: two uniform numbers give two independent normal ones.
    if (m_haveSpare) {
        m_haveSpare = false;
        return m_spare;
    }
    double u1 = 0.0;
    while (u1 <= 0.0)
        u1 = m_random.generateDouble();
    const double u2 = m_random.generateDouble();
    const double radius = std::sqrt(-2.0 * std::log(u1));
    const double angle = 2.0 * M_PI * u2;
    m_spare = radius * std::sin(angle);
    m_haveSpare = true;
    return radius * std::cos(angle);
}
