#include "SolxAVIFile.h"

#include <dlfcn.h>

#include <cstdlib>
#include <filesystem>

#include "SolxVideoEncoder.h"
#include "mfc/Utf8.h"

namespace {

// The recorder library: SOLX_RECORDER when set, else SolxRecorder.so in the module's folder.
// A loaded library stays for the rest of the process; a failed load is tried again next time.
SolxCreateVideoEncoderFunction EncoderFactory(std::string& error) {
    static SolxCreateVideoEncoderFunction factory = nullptr;
    static std::filesystem::path loadedFrom;
    std::filesystem::path file;
    if (const char* chosen = std::getenv("SOLX_RECORDER"); chosen && *chosen) {
        file = chosen;
    } else {
        Dl_info self{};
        if (dladdr(reinterpret_cast<void*>(&EncoderFactory), &self) && self.dli_fname)
            file = std::filesystem::path(self.dli_fname).parent_path();
        file /= kSolxRecorderLibrary;
    }
    if (factory && file == loadedFrom) return factory;
    void* library = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        const char* why = dlerror();
        error = "the recorder library cannot be loaded (" + std::string(why ? why : file.string()) +
                ")";
        return nullptr;
    }
    const auto found =
        reinterpret_cast<SolxCreateVideoEncoderFunction>(dlsym(library, kSolxVideoEncoderEntry));
    if (!found) {
        error = file.string() + " has no " + kSolxVideoEncoderEntry;
        return nullptr;
    }
    factory = found;
    loadedFrom = file;
    return factory;
}

}  // namespace

SolxAVIFile::SolxAVIFile() = default;

SolxAVIFile::~SolxAVIFile() {
    Close();
}

bool SolxAVIFile::Fail(const std::string& what) {
    m_error = what;
    m_ok = false;
    m_encoder.reset();
    return false;
}

int SolxAVIFile::Init(const std::wstring& path, int width, int height, int rate) {
    Close();
    m_frames = 0;
    m_error.clear();
    if (width <= 0 || height <= 0 || width % 2 || height % 2 || rate <= 0)
        return Fail("the frame size must be even and the rate positive");
    std::string error;
    const SolxCreateVideoEncoderFunction create = EncoderFactory(error);
    if (!create) return Fail(error);
    m_encoder.reset(create());
    if (!m_encoder) return Fail("out of memory");
    m_width = width;
    m_height = height;
    if (!m_encoder->Open(solx::win::WideToUtf8(path), width, height, rate, error))
        return Fail(error);
    m_ok = true;
    return 1;
}

int SolxAVIFile::AddFrame(const std::vector<std::uint8_t>& rgb) {
    if (!m_ok || !m_encoder) return 0;
    if (rgb.size() != static_cast<std::size_t>(m_width) * m_height * 3) {
        // The frames so far stay in the file, which Close finishes.
        m_error = "the frame has another size";
        m_ok = false;
        return 0;
    }
    std::string error;
    if (!m_encoder->Write(rgb.data(), error)) {
        m_error = error;
        m_ok = false;
        return 0;
    }
    ++m_frames;
    return 1;
}

void SolxAVIFile::Close() {
    if (!m_encoder) return;
    m_encoder->Finish();
    m_encoder.reset();
    m_ok = false;
}
