#include "Fourier.h"

#include "BitHelpers.h"

#include <fftw3.h>

#include <algorithm>
#include <cstddef>
#include <map>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <utility>

namespace {

// One FFTW plan with the aligned buffers it runs on. Plans are made once per length and
// kind (FFTW_ESTIMATE: no trial runs) and kept for the life of the process; the inputs are
// copied into the plan's buffers for each run.
class Plan
{
public:
    Plan(int n, bool real)
        : m_in(fftw_alloc_real(2 * static_cast<size_t>(n)))
        , m_out(fftw_alloc_complex(static_cast<size_t>(n)))
    {
        if (real)
            m_plan = fftw_plan_dft_r2c_1d(n, m_in, m_out, FFTW_ESTIMATE);
        else
            m_plan = fftw_plan_dft_1d(n, reinterpret_cast<fftw_complex *>(m_in), m_out, FFTW_BACKWARD,
                                      FFTW_ESTIMATE);
        if (!m_plan)
            throw std::runtime_error("Fourier: FFTW made no plan");
    }
    ~Plan()
    {
        fftw_destroy_plan(m_plan);
        fftw_free(m_out);
        fftw_free(m_in);
    }
    Plan(const Plan &) = delete;
    Plan &operator=(const Plan &) = delete;

    double *in() { return m_in; } // n real or n interleaved complex points
    const fftw_complex *out() const { return m_out; }
    void run() { fftw_execute(m_plan); }

private:
    double *m_in;
    fftw_complex *m_out;
    fftw_plan m_plan = nullptr;
};

// FFTW's planner is not reentrant, and a plan's buffers are shared: one transform at a time.
std::mutex planLock;

Plan &plan(int n, bool real)
{
    static std::map<std::pair<int, bool>, std::unique_ptr<Plan>> plans;
    std::unique_ptr<Plan> &p = plans[{n, real}];
    if (!p)
        p = std::make_unique<Plan>(n, real);
    return *p;
}

bool refuse(int n, QList<AnalysisMessage> *messages)
{
    if (messages)
        messages->append({QStringLiteral("Error in procedure Fourier:\r\n NumSamples is %1, which is not a "
                                         "positive integer power of two.")
                              .arg(n),
                          QStringLiteral("Error!"), UserDialogs::Icon::None});
    return false;
}

void checkInput(const std::vector<double> &input, size_t n)
{
    if (input.size() < n)
        throw std::out_of_range("Fourier: fewer input points than the transform length");
}

} // namespace

bool Fourier(int n, const std::vector<double> &realIn, const std::vector<double> &imagIn,
             std::vector<double> &realOut, std::vector<double> &imagOut, QList<AnalysisMessage> *messages)
{
    if (!PowerOfTwoCheck(n))
        return refuse(n, messages);
    const size_t size = static_cast<size_t>(n);
    checkInput(realIn, size);
    checkInput(imagIn, size);

    const std::lock_guard<std::mutex> lock(planLock);
    Plan &p = plan(n, false);
    double *in = p.in();
    for (size_t i = 0; i < size; ++i) {
        in[2 * i] = realIn[i];
        in[2 * i + 1] = imagIn[i];
    }
    p.run();
    realOut.resize(size);
    imagOut.resize(size);
    for (size_t k = 0; k < size; ++k) {
        realOut[k] = p.out()[k][0];
        imagOut[k] = p.out()[k][1];
    }
    return true;
}

bool FourierReal(int n, const std::vector<double> &realIn, std::vector<double> &realOut,
                 std::vector<double> &imagOut, QList<AnalysisMessage> *messages)
{
    if (!PowerOfTwoCheck(n))
        return refuse(n, messages);
    const size_t size = static_cast<size_t>(n);
    checkInput(realIn, size);

    const std::lock_guard<std::mutex> lock(planLock);
    Plan &p = plan(n, true);
    std::copy(realIn.begin(), realIn.begin() + static_cast<std::ptrdiff_t>(size), p.in());
    p.run();
    // FFTW's real transform runs forward (exponent -1); for real input the positive
    // exponent gives the complex conjugate.
    const size_t bins = size / 2 + 1;
    realOut.resize(bins);
    imagOut.resize(bins);
    for (size_t k = 0; k < bins; ++k) {
        realOut[k] = p.out()[k][0];
        imagOut[k] = -p.out()[k][1];
    }
    return true;
}
