#include "dxf/DxfReader.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>

#include "dxf/DxfBinaryTagSource.h"
#include "dxf/DxfDocumentBuilder.h"

namespace solx::dxf {
namespace {

std::unique_ptr<TagSource> makeSource(std::string_view bytes, const std::string& fileName) {
    if (isBinaryDxf(bytes)) return std::make_unique<BinaryTagSource>(bytes, fileName);
    return std::make_unique<AsciiTagSource>(bytes, fileName);
}

// A read-only private mapping of a whole file, unmapped on scope exit.
class MappedFile {
public:
    explicit MappedFile(const std::string& path) {
        int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) throw DxfError(path, 0, std::string("cannot open: ") + std::strerror(errno));
        struct stat st {};
        if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
            ::close(fd);
            throw DxfError(path, 0, "not a regular file");
        }
        size_ = static_cast<size_t>(st.st_size);
        if (size_ > 0) {
            void* p = ::mmap(nullptr, size_, PROT_READ, MAP_PRIVATE, fd, 0);
            data_ = p == MAP_FAILED ? nullptr : static_cast<char*>(p);
        }
        ::close(fd);
        if (size_ > 0 && !data_) throw DxfError(path, 0, "cannot map the file into memory");
        ::madvise(data_, size_, MADV_SEQUENTIAL);
    }
    ~MappedFile() {
        if (data_) ::munmap(data_, size_);
    }
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    std::string_view bytes() const { return {data_, size_}; }

    // Drops the pages before OFFSET from memory; they are read again if touched.
    void releaseBefore(size_t offset) {
        size_t page = static_cast<size_t>(::sysconf(_SC_PAGESIZE));
        size_t end = offset / page * page;
        if (end > released_ + page) {
            ::madvise(data_ + released_, end - page - released_, MADV_DONTNEED);
            released_ = end - page;
        }
    }

private:
    char* data_ = nullptr;
    size_t size_ = 0;
    size_t released_ = 0;
};

}  // namespace

Document parseDocument(std::string_view bytes, const std::string& fileName) {
    std::unique_ptr<TagSource> source = makeSource(bytes, fileName);
    return DocumentBuilder(*source, fileName).build();
}

Document readDocument(const std::string& path) {
    MappedFile file(path);
    std::unique_ptr<TagSource> source = makeSource(file.bytes(), path);
    DocumentBuilder builder(*source, path);
    builder.setReleaseHook([&file](size_t consumed) { file.releaseBefore(consumed); });
    return builder.build();
}

}  // namespace solx::dxf
