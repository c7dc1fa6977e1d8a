#include "dxf/DxfWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "dxf/DxfTagWriter.h"

namespace solx::dxf {
namespace {

std::string errnoText() {
    return std::strerror(errno);
}

std::string folderOf(const std::string& path) {
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// A temporary file beside the target, removed on scope exit unless committed.
class TempFile {
public:
    explicit TempFile(const std::string& target) : target_(target) {
        std::string base = target.substr(target.rfind('/') + 1);
        name_ = folderOf(target) + "/." + base + ".XXXXXX";
        fd_ = ::mkstemp(name_.data());
        if (fd_ < 0) throw DxfError(target, 0, "cannot create a temporary file: " + errnoText());
    }
    ~TempFile() {
        if (fd_ >= 0) ::close(fd_);
        if (!committed_) ::unlink(name_.c_str());
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    int fd() const { return fd_; }

    // Gives the file the target's permissions (or the usual ones for a new file), flushes it
    // to disk and closes it.
    void finish() {
        struct stat st {};
        mode_t mode = 0666 & ~currentUmask();
        if (::stat(target_.c_str(), &st) == 0) mode = st.st_mode & 07777;
        if (::fchmod(fd_, mode) != 0 || ::fsync(fd_) != 0) fail("cannot flush to disk");
        int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0) fail("cannot close");
    }

    void commit() {
        if (::rename(name_.c_str(), target_.c_str()) != 0) fail("cannot replace the file");
        committed_ = true;
    }

private:
    static mode_t currentUmask() {
        mode_t m = ::umask(0);
        ::umask(m);
        return m;
    }
    [[noreturn]] void fail(const char* what) const {
        throw DxfError(target_, 0, std::string(what) + ": " + errnoText());
    }

    std::string target_;
    std::string name_;
    int fd_ = -1;
    bool committed_ = false;
};

// Keeps the current target as PATH.bak: a hard link when the file system allows it, so the
// target itself stays in place until the rename replaces it.
void keepBackup(const std::string& path) {
    if (::access(path.c_str(), F_OK) != 0) return;
    std::string bak = path + ".bak";
    if (::unlink(bak.c_str()) != 0 && errno != ENOENT)
        throw DxfError(path, 0, "cannot remove the old backup: " + errnoText());
    if (::link(path.c_str(), bak.c_str()) == 0) return;
    throw DxfError(path, 0, "cannot keep the previous file as " + bak + ": " + errnoText());
}

void syncFolder(const std::string& path) {
    int dir = ::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0) return;
    ::fsync(dir);
    ::close(dir);
}

}  // namespace

std::string serializeDocument(const Document& doc) {
    TagWriter out(doc, -1, {});
    writeSections(doc, out);
    return out.take();
}

void writeDocument(const Document& doc, const std::string& path) {
    TempFile temp(path);
    TagWriter out(doc, temp.fd(), path);
    writeSections(doc, out);
    out.flush();
    temp.finish();
    keepBackup(path);
    temp.commit();
    syncFolder(path);
}

}  // namespace solx::dxf
