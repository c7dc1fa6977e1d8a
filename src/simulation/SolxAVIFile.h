#pragma once
// The recorder of the simulation's animation: an AVI file of Motion JPEG frames (FFmpeg's
// libavformat and libavcodec), which common players and ffprobe read. One frame is written per
// AddFrame; the file is finished (index and header) when the recorder is closed or destroyed,
// so a recording cut short is still playable.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CWnd;

class SolxAVIFile {
public:
    SolxAVIFile();
    ~SolxAVIFile();
    SolxAVIFile(const SolxAVIFile&) = delete;
    SolxAVIFile& operator=(const SolxAVIFile&) = delete;

    // The options dialog of other recorders; this one has none, and keeps the values only.
    void SetSaveOptionsParentWnd(CWnd* parent) { m_parent = parent; }
    void SetHasSaveOptionsDialog(int has) { m_hasOptionsDialog = has; }
    void SetColorNum(int colours) { m_colours = colours; }

    // Opens the file for frames of width x height pixels (both even) shown `rate` a second.
    // 1 on success, 0 with the reason in Error().
    int Init(const std::wstring& path, int width, int height, int rate);
    // Writes one frame: RGB bytes, rows from the top, of the size given to Init. 1 or 0.
    int AddFrame(const std::vector<std::uint8_t>& rgb);
    // 1 while the file is open and no write failed.
    int Status() const { return m_ok ? 1 : 0; }
    int FrameCount() const { return m_frames; }
    const std::string& Error() const { return m_error; }
    // Finishes the file; later frames are refused.
    void Close();

private:
    struct Encoder;
    bool Fail(const std::string& what, int code = 0);
    bool Drain(bool flush);

    std::unique_ptr<Encoder> m_enc;
    CWnd* m_parent = nullptr;
    int m_hasOptionsDialog = 0;
    int m_colours = 32;
    int m_width = 0, m_height = 0;
    int m_frames = 0;
    bool m_ok = false;
    std::string m_error;
};
