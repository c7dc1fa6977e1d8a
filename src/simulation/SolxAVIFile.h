#pragma once
// The recorder of the simulation's animation: an AVI file of Motion JPEG frames, which common
// players and ffprobe read, written by the encoder of SolxRecorder.so (FFmpeg), loaded on the
// first Init. One frame is written per AddFrame; the file is finished (index and header) when
// the recorder is closed or destroyed, so a recording cut short is still playable.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CWnd;
class SolxVideoEncoder;

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
    // 1 on success, 0 with the reason in Error() (also when the recorder library cannot be
    // loaded).
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
    bool Fail(const std::string& what);

    std::unique_ptr<SolxVideoEncoder> m_encoder;
    CWnd* m_parent = nullptr;
    int m_hasOptionsDialog = 0;
    int m_colours = 32;
    int m_width = 0, m_height = 0;
    int m_frames = 0;
    bool m_ok = false;
    std::string m_error;
};
