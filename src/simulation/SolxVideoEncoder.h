#pragma once
// The video encoder behind SolxAVIFile. It lives in a library of its own, SolxRecorder.so next
// to the module, which SolxAVIFile loads on the first recording: FFmpeg brings about a hundred
// shared libraries, and a session that records nothing should not load them.

#include <cstdint>
#include <string>

class SolxVideoEncoder {
public:
    virtual ~SolxVideoEncoder() = default;
    // Creates the file (UTF-8 path) for frames of width x height pixels (both even), `rate` a
    // second. False with the reason in `error`.
    virtual bool Open(const std::string& path, int width, int height, int rate,
                      std::string& error) = 0;
    // Encodes one frame of RGB bytes, rows from the top, of the size given to Open.
    virtual bool Write(const std::uint8_t* rgb, std::string& error) = 0;
    // Writes what is left and the index; the file is then complete.
    virtual void Finish() = 0;
};

// The library's one entry point: a new encoder (delete it through the base), null when out of
// memory.
using SolxCreateVideoEncoderFunction = SolxVideoEncoder* (*)();
inline constexpr char kSolxVideoEncoderEntry[] = "SolxCreateVideoEncoder";
inline constexpr char kSolxRecorderLibrary[] = "SolxRecorder.so";
