// TLZH: decoder of the LZHUF bit stream that skin files are compressed with.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

class ElzhException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TLZH {
public:
    // Decodes until at least unpackedSize bytes have been appended to sink: a
    // match is always copied whole, so up to 59 bytes more may follow. Input
    // past the end of source reads as zero bytes, as the format has always
    // done for short files; InputExhausted() tells afterwards whether that
    // happened. A negative size decodes nothing. Throws ElzhException when
    // the working tables cannot be had.
    void LZHUnpack(std::int32_t unpackedSize, std::span<const std::uint8_t> source,
                   std::vector<std::uint8_t>& sink);

    // True when the last LZHUnpack needed bits beyond the end of its source:
    // the stream was cut short (an encoder always flushes its last bits).
    bool InputExhausted() const { return FInputExhausted; }

private:
    bool FInputExhausted = false;
};
