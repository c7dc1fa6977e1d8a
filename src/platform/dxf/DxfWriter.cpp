#include "dxf/DxfWriter.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
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

std::string baseOf(const std::string& path) {
    return path.substr(path.rfind('/') + 1);
}

// The file a save replaces: PATH itself, or what its chain of symbolic links leads to (which
// may not exist yet), so that a link stays a link and its target gets the new drawing.
std::string resolveLinks(const std::string& path) {
    std::string current = path;
    for (int depth = 0; depth < 40; ++depth) {
        struct stat st {};
        if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
        std::string link(static_cast<size_t>(st.st_size > 0 ? st.st_size : 4096) + 1, '\0');
        const ssize_t n = ::readlink(current.c_str(), link.data(), link.size());
        if (n < 0) throw DxfError(path, 0, "cannot read the symbolic link: " + errnoText());
        link.resize(static_cast<size_t>(n));
        current = link[0] == '/' ? link : folderOf(current) + "/" + link;
    }
    throw DxfError(path, 0, "too many levels of symbolic links");
}

// Temporary files of a save are called ".~" + a hash of the target's name + "." + 6 random
// characters: short whatever the target's name, and recognisable for the clean-up below.
std::string tempPrefix(const std::string& target) {
    uint32_t h = 2166136261u;  // FNV-1a
    for (unsigned char c : baseOf(target)) h = (h ^ c) * 16777619u;
    char hex[16];
    std::snprintf(hex, sizeof hex, "%08x", h);
    return std::string(".~") + hex + ".";
}

// Removes temporary files that an earlier save of TARGET left when it was killed. A save in
// progress holds a lock on its temporary file, so only abandoned ones are removed.
void removeAbandonedTemps(const std::string& target) {
    const std::string folder = folderOf(target), prefix = tempPrefix(target);
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return;
    while (const dirent* e = ::readdir(dir)) {
        const std::string name = e->d_name;
        if (name.size() != prefix.size() + 6 || name.compare(0, prefix.size(), prefix) != 0)
            continue;
        const std::string file = folder + "/" + name;
        const int fd = ::open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0) continue;
        struct stat st {};
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlink(file.c_str());
        ::close(fd);
    }
    ::closedir(dir);
}

// A temporary file beside the target, locked while it is written, removed on scope exit
// unless committed.
class TempFile {
public:
    explicit TempFile(const std::string& target) : target_(target) {
        name_ = folderOf(target) + "/" + tempPrefix(target) + "XXXXXX";
        fd_ = ::mkostemp(name_.data(), O_CLOEXEC);
        if (fd_ < 0) throw DxfError(target, 0, "cannot create a temporary file: " + errnoText());
        ::flock(fd_, LOCK_EX | LOCK_NB);  // tells a parallel clean-up that this one is in use
    }
    ~TempFile() {
        if (!committed_) ::unlink(name_.c_str());
        if (fd_ >= 0) ::close(fd_);
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    int fd() const { return fd_; }

    // Gives the file the target's permissions (or the usual ones for a new file) and flushes
    // it to disk. The file stays open (and locked) until it is renamed.
    void finish() {
        struct stat st {};
        mode_t mode = 0666 & ~currentUmask();
        if (::stat(target_.c_str(), &st) == 0) mode = st.st_mode & 07777;
        if (::fchmod(fd_, mode) != 0 || ::fsync(fd_) != 0) fail("cannot flush to disk");
    }

    void commit() {
        if (::rename(name_.c_str(), target_.c_str()) != 0) fail("cannot replace the file");
        committed_ = true;
        const int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0) fail("cannot close");
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

// PATH + ".bak", shortened when that name would be longer than the folder allows: the name's
// start (cut at a whole UTF-8 character) + ".bak".
std::string backupName(const std::string& path) {
    const std::string base = baseOf(path);
    long maxName = ::pathconf(folderOf(path).c_str(), _PC_NAME_MAX);
    if (maxName <= 4) maxName = 255;
    size_t keep = base.size();
    if (keep + 4 > static_cast<size_t>(maxName)) {
        keep = static_cast<size_t>(maxName) - 4;
        while (keep > 0 && (static_cast<unsigned char>(base[keep]) & 0xC0) == 0x80) --keep;
    }
    return path.substr(0, path.size() - base.size()) + base.substr(0, keep) + ".bak";
}

// Keeps the current target as its backup: a hard link when the file system allows it, so the
// target itself stays in place until the rename replaces it.
void keepBackup(const std::string& path) {
    if (::access(path.c_str(), F_OK) != 0) return;
    std::string bak = backupName(path);
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

std::string serializeDocument(const Document& doc, const SectionBodies& bodies) {
    TagWriter out(doc, -1, {});
    writeSections(doc, out, bodies);
    return out.take();
}

void writeDocument(const Document& doc, const std::string& path, const SectionBodies& bodies) {
    const std::string target = resolveLinks(path);
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0 && !S_ISREG(st.st_mode))
        throw DxfError(path, 0, "not a regular file; a drawing is only saved over a file");
    removeAbandonedTemps(target);
    TempFile temp(target);
    TagWriter out(doc, temp.fd(), path);
    writeSections(doc, out, bodies);
    out.flush();
    temp.finish();
    keepBackup(target);
    temp.commit();
    syncFolder(target);
}

}  // namespace solx::dxf
