// The name of the temporary file an atomic replacement writes beside its target, shared by both
// hosts: ".NAME.tmpPID-N", hidden, next to the file, naming the process that writes it. A save
// killed midway leaves one behind; the next save of the same file removes those whose writer is
// gone.
#pragma once

#include <string>
#include <string_view>

namespace TOOLS {

template <typename Char>
std::basic_string<Char> TemporaryFileName(std::basic_string_view<Char> name, unsigned long pid,
                                          unsigned long serial) {
    const std::string digits = std::to_string(pid) + "-" + std::to_string(serial);
    std::basic_string<Char> result(1, Char('.'));
    result.append(name);
    for (const char c : std::string_view(".tmp")) result += Char(c);
    for (const char c : digits) result += Char(c);
    return result;
}

// True with the writer's process id when `entry` is a temporary file of `name`.
template <typename Char>
bool TemporaryFileWriter(std::basic_string_view<Char> entry, std::basic_string_view<Char> name,
                         unsigned long& pid) {
    const std::basic_string<Char> prefix = TemporaryFileName(name, 0, 0);
    const size_t fixed = prefix.size() - 3;  // ".NAME.tmp" without "0-0"
    if (entry.size() <= fixed || entry.compare(0, fixed, prefix, 0, fixed) != 0) return false;
    unsigned long value = 0;
    size_t i = fixed;
    size_t digits = 0;
    for (; i < entry.size() && entry[i] >= Char('0') && entry[i] <= Char('9'); ++i, ++digits) {
        if (digits == 9) return false;  // no process id is that long
        value = value * 10 + static_cast<unsigned long>(entry[i] - Char('0'));
    }
    if (digits == 0 || i == entry.size() || entry[i] != Char('-')) return false;
    size_t serial = 0;
    for (++i; i < entry.size() && entry[i] >= Char('0') && entry[i] <= Char('9'); ++i) ++serial;
    if (serial == 0 || i != entry.size()) return false;
    pid = value;
    return true;
}

}  // namespace TOOLS
