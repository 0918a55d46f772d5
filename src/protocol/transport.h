// Report transport: turns a command into one output report for the bound device.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace karvo {

// The bound device as the transport sees it. Implementations may fail in any way;
// the transport swallows every failure.
class OutputDevice {
public:
    virtual ~OutputDevice() = default;
    // Output report length in bytes, counting the report ID byte; 0 or less when unknown.
    virtual int OutputReportLength() const = 0;
    // Writes one whole output report. Returns false on failure.
    virtual bool WriteReport(const std::uint8_t* data, std::size_t length) = 0;
};

class Transport {
public:
    static constexpr std::size_t kBufferSize = 256;
    static constexpr int kFallbackReportLength = 65;

    explicit Transport(const bool& connected) : connected_(connected), buffer_(kBufferSize) {}

    // Binds the device commands go to (nullptr: none). A device whose output report is
    // longer than the standard buffer gets a buffer of its own length, made here.
    void Bind(OutputDevice* device);
    OutputDevice* BoundDevice() const { return bound_; }

    // Sends `count` command bytes as one report: ID 1, the bytes, zero fill, cut to the
    // device's output report length. Does nothing while not connected.
    void SendReport(const std::uint8_t* bytes, std::size_t count);
    void SendCommand(std::uint8_t code) { SendReport(&code, 1); }

private:
    int ReportLength() const;

    const bool& connected_;
    OutputDevice* bound_ = nullptr;
    std::vector<std::uint8_t> buffer_;
};

}  // namespace karvo
