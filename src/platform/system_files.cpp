#include "system_files.h"

#include <algorithm>
#include <filesystem>

#ifdef _WIN32
#include <windows.h>

#include "windows_text.h"
#else
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace velora {
namespace {

#ifdef _WIN32

std::error_code lastError() {
    return {static_cast<int>(GetLastError()), std::system_category()};
}

std::filesystem::path systemPath(const std::string& path) {
    return std::filesystem::path(wide(path));
}

// A handle that closes on every path out.
class Handle {
public:
    explicit Handle(HANDLE handle) : m_handle(handle) {}
    ~Handle() {
        if (valid()) CloseHandle(m_handle);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    bool valid() const { return m_handle != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return m_handle; }
    bool close() {
        const bool closed = CloseHandle(m_handle) != 0;
        m_handle = INVALID_HANDLE_VALUE;
        return closed;
    }

private:
    HANDLE m_handle;
};

#else

std::error_code lastError() {
    return {errno, std::generic_category()};
}

std::filesystem::path systemPath(const std::string& path) {
    return std::filesystem::path(path);
}

// A descriptor that closes on every path out.
class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor() {
        if (m_fd >= 0) ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }
    // Closing is a step of the write: some file systems report a failed write only here.
    bool close() {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

private:
    int m_fd;
};

// A new file is as readable as the user's other new files; a replaced one keeps its permissions.
mode_t modeFor(const std::string& path) {
    struct stat old {};
    if (lstat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode)) return old.st_mode & 07777;
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

// Makes a rename survive a power cut; a folder that cannot be synced changes nothing else.
void syncFolderOf(const std::string& path) {
    const std::filesystem::path folder = systemPath(path).parent_path();
    const Descriptor fd(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() >= 0) fsync(fd.get());
}

#endif

std::error_code makeFoldersFor(const std::string& path) {
    const std::filesystem::path folder = systemPath(path).parent_path();
    std::error_code error;
    if (!folder.empty()) std::filesystem::create_directories(folder, error);
    return error;
}

}  // namespace

#ifdef _WIN32

std::error_code writeFileWhole(const std::string& path, std::string_view bytes) {
    if (const std::error_code error = makeFoldersFor(path)) return error;
    const std::wstring target = wide(path);
    std::wstring temporary;
    HANDLE created = INVALID_HANDLE_VALUE;
    for (unsigned attempt = 0; created == INVALID_HANDLE_VALUE && attempt < 100; ++attempt) {
        temporary = target + L"." + std::to_wstring(GetCurrentProcessId()) + L"-" +
                    std::to_wstring(GetTickCount() + attempt) + L".tmp";
        created = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
        if (created == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS)
            return lastError();
    }
    if (created == INVALID_HANDLE_VALUE) return lastError();
    Handle file(created);
    bool written = true;
    for (std::size_t done = 0; written && done < bytes.size();) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1 << 20));
        DWORD count = 0;
        written = WriteFile(file.get(), bytes.data() + done, chunk, &count, nullptr) && count > 0;
        done += count;
    }
    written = written && FlushFileBuffers(file.get());
    std::error_code error = written ? std::error_code() : lastError();
    if (!file.close() && !error) error = lastError();
    if (!error && !MoveFileExW(temporary.c_str(), target.c_str(),
                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        error = lastError();
    if (error) DeleteFileW(temporary.c_str());
    return error;
}

std::vector<std::string> folderNames(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW((wide(folder) + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") names.push_back(narrow(name));
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

bool removeFile(const std::string& path) {
    return DeleteFileW(wide(path).c_str()) != 0;
}

std::optional<std::string> SystemFiles::read(const std::string& path, std::size_t maxBytes) const {
    if (kind(path) != Kind::File) return std::nullopt;
    const Handle file(CreateFileW(wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid() || GetFileType(file.get()) != FILE_TYPE_DISK) return std::nullopt;
    std::string bytes;
    char buffer[64 * 1024];
    while (bytes.size() < maxBytes) {
        const DWORD wanted =
            static_cast<DWORD>(std::min<std::size_t>(sizeof buffer, maxBytes - bytes.size()));
        DWORD count = 0;
        if (!ReadFile(file.get(), buffer, wanted, &count, nullptr)) return std::nullopt;
        if (count == 0) break;
        bytes.append(buffer, count);
    }
    return bytes;
}

Files::Kind SystemFiles::kind(const std::string& path) const {
    const DWORD attributes = GetFileAttributesW(wide(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD reason = GetLastError();
        return reason == ERROR_FILE_NOT_FOUND || reason == ERROR_PATH_NOT_FOUND ? Kind::Missing
                                                                                : Kind::Other;
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return Kind::Folder;
    if (attributes & FILE_ATTRIBUTE_DEVICE) return Kind::Other;
    return Kind::File;
}

#else

std::error_code writeFileWhole(const std::string& path, std::string_view bytes) {
    if (const std::error_code error = makeFoldersFor(path)) return error;
    const mode_t mode = modeFor(path);
    std::string temporary = path + ".XXXXXX";
    Descriptor file(mkostemp(temporary.data(), O_CLOEXEC));
    if (file.get() < 0) return lastError();
    std::error_code error;
    // mkostemp makes the file for its owner only.
    if (fchmod(file.get(), mode) != 0) error = lastError();
    for (std::size_t done = 0; !error && done < bytes.size();) {
        const ssize_t count = ::write(file.get(), bytes.data() + done, bytes.size() - done);
        if (count > 0)
            done += static_cast<std::size_t>(count);
        else if (count == 0)
            error = std::make_error_code(std::errc::no_space_on_device);
        else if (errno != EINTR)
            error = lastError();
    }
    if (!error && fsync(file.get()) != 0) error = lastError();
    if (!file.close() && !error) error = lastError();
    if (!error && std::rename(temporary.c_str(), path.c_str()) != 0) error = lastError();
    if (error) {
        ::unlink(temporary.c_str());
        return error;
    }
    syncFolderOf(path);
    return {};
}

std::vector<std::string> folderNames(const std::string& folder) {
    std::vector<std::string> names;
    DIR* listing = opendir(folder.c_str());
    if (!listing) return names;
    while (const dirent* entry = readdir(listing)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") names.push_back(name);
    }
    closedir(listing);
    return names;
}

bool removeFile(const std::string& path) {
    return ::unlink(path.c_str()) == 0;
}

std::optional<std::string> SystemFiles::read(const std::string& path, std::size_t maxBytes) const {
    // Looked at before it is opened: opening a device can have effects of its own. Opened without
    // waiting, so that a pipe put there meanwhile cannot hold the program, and looked at again.
    if (kind(path) != Kind::File) return std::nullopt;
    const Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat opened {};
    if (file.get() < 0 || fstat(file.get(), &opened) != 0 || !S_ISREG(opened.st_mode))
        return std::nullopt;
    std::string bytes;
    char buffer[64 * 1024];
    while (bytes.size() < maxBytes) {
        const ssize_t count =
            ::read(file.get(), buffer, std::min(sizeof buffer, maxBytes - bytes.size()));
        if (count == 0) break;
        if (count < 0) {
            if (errno == EINTR) continue;
            return std::nullopt;
        }
        bytes.append(buffer, static_cast<std::size_t>(count));
    }
    return bytes;
}

Files::Kind SystemFiles::kind(const std::string& path) const {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        // Anything else (no permission on the way, a name too long) is there but unreadable.
        return errno == ENOENT || errno == ENOTDIR ? Kind::Missing : Kind::File;
    }
    if (S_ISREG(info.st_mode)) return Kind::File;
    if (S_ISDIR(info.st_mode)) return Kind::Folder;
    return Kind::Other;
}

#endif

bool SystemFiles::replace(const std::string& path, const std::string& bytes) {
    return !writeFileWhole(path, bytes);
}

bool SystemFiles::exists(const std::string& path) const {
    return kind(path) == Kind::File;
}

}  // namespace velora
