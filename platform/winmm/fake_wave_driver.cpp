#include "platform/winmm/fake_wave_driver.h"

#include <algorithm>

namespace brvl::winmm
{

class FakeWaveDriver::Stream final : public WaveStream
{
public:
    explicit Stream(FakeWaveDriver& owner) : m_owner(owner) {}

    ~Stream() override
    {
        std::lock_guard lock(m_owner.m_mutex);
        m_owner.m_feed = nullptr;
    }

    void BufferQueued(const WAVEHDR& header) override
    {
        std::lock_guard lock(m_owner.m_mutex);
        m_owner.m_written.push_back(
            Written{&header, std::string(header.lpData, header.dwBufferLength)});
    }

private:
    FakeWaveDriver& m_owner;
};

void FakeWaveDriver::FailOpens(MMRESULT error)
{
    std::lock_guard lock(m_mutex);
    m_openError = error;
}

std::vector<FakeWaveDriver::Written> FakeWaveDriver::WrittenBuffers() const
{
    std::lock_guard lock(m_mutex);
    return m_written;
}

std::vector<WAVEHDR*> FakeWaveDriver::RecentHeaders(std::size_t count) const
{
    std::lock_guard lock(m_mutex);
    std::vector<WAVEHDR*> headers;
    for (std::size_t i = m_written.size() - std::min(count, m_written.size()); i < m_written.size();
         ++i)
    {
        // The device hands the same header back on FireDone; the test never writes through it.
        headers.push_back(const_cast<WAVEHDR*>(m_written[i].header));
    }
    return headers;
}

int FakeWaveDriver::OpenCount() const
{
    std::lock_guard lock(m_mutex);
    return m_opens;
}

DWORD FakeWaveDriver::LastSampleRate() const
{
    std::lock_guard lock(m_mutex);
    return m_rate;
}

bool FakeWaveDriver::FireDone(WAVEHDR* header)
{
    // Held across the call so that the stream (and its device) cannot go meanwhile.
    std::lock_guard lock(m_mutex);
    return m_feed != nullptr && m_feed->Complete(header);
}

MMRESULT FakeWaveDriver::Open(DWORD sampleRate, WaveFeed& feed, std::unique_ptr<WaveStream>& stream)
{
    std::lock_guard lock(m_mutex);
    if (m_openError != MMSYSERR_NOERROR)
    {
        return m_openError;
    }
    ++m_opens;
    m_rate = sampleRate;
    m_feed = &feed;
    stream = std::make_unique<Stream>(*this);
    return MMSYSERR_NOERROR;
}

} // namespace brvl::winmm
