// What the file fuzz targets share.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace karvo::fuzz {

// Stops the run with a message: a fault the sanitizers do not see.
[[noreturn]] inline void Fail(const char* what, std::string_view a = {}, std::string_view b = {}) {
    std::fprintf(stderr, "FUZZ CHECK FAILED: %s\n  [%.*s]\n  [%.*s]\n", what,
                 static_cast<int>(a.size()), a.data(), static_cast<int>(b.size()), b.data());
    std::abort();
}

// A file of this process's own in the temporary folder, rewritten for each input.
inline const std::string& ScratchPath(const char* name) {
    static const std::string path = [name] {
        const char* dir = std::getenv("TMPDIR");
        return std::string(dir && *dir ? dir : "/tmp") + "/karvo-fuzz-" +
               std::to_string(::getpid()) + "-" + name;
    }();
    return path;
}

inline bool WriteWhole(const std::string& path, const std::uint8_t* data, std::size_t size) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(data, 1, size, f) == size;
    return std::fclose(f) == 0 && ok;
}

}  // namespace karvo::fuzz
