// The plug-in list (INI), read by the profile functions and by the graph handler registry with a
// host that loads nothing.
#include <cwchar>
#include <vector>

#include <siteconfig/CGraphsConfig.h>
#include "FuzzSupport.h"
#include "ProfileFile.h"

namespace {

class NoLibraries : public APP::IAppDllInstanceMgr {
public:
    void* GetDllProcAddress(const CString& path, const char* entry) override {
        asked += static_cast<size_t>(path.GetLength()) + (entry != nullptr ? 1 : 0);
        return nullptr;
    }
    size_t asked = 0;
};

// `copied` characters were copied into a buffer of `bufferSize` whose guard element follows it.
void CheckCopied(const std::vector<wchar_t>& buffer, int bufferSize, int copied) {
    fuzzing::Check(copied >= 0 && copied < bufferSize, "a profile string overruns its buffer");
    fuzzing::Check(buffer[static_cast<size_t>(copied)] == L'\0',
                   "a profile string is not terminated where its count says");
    fuzzing::Check(buffer[static_cast<size_t>(bufferSize)] == L'#',
                   "a profile string writes past its buffer");
    // A value may hold a NUL character (a byte 0 in a legacy code page file); the count then
    // goes past it, as the text copied does.
    fuzzing::Check(std::wcslen(buffer.data()) <= static_cast<size_t>(copied),
                   "a profile string is longer than its count");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool quiet = fuzzing::Quiet();
    (void)quiet;
    const CString file = fuzzing::WriteScratch("plugins.ini", data, size);
    const CString sections[] = {L"Main", L"List", L" main ", L""};
    const CString keys[] = {L"FileCount ", L"0", L"1", L"", L"x"};
    TOOLS::CProfileFile profile;
    profile.Load(file);
    for (const CString& section : sections) {
        for (const CString& key : keys) {
            profile.GetInt(section, key, -7);
            for (int bufferSize : {1, 2, 8, 256}) {
                std::vector<wchar_t> buffer(static_cast<size_t>(bufferSize) + 1, L'#');
                CheckCopied(
                    buffer, bufferSize,
                    profile.GetString(section, key, L"default  ", buffer.data(), bufferSize));
            }
        }
    }
    // The free functions read the file anew on each call.
    TOOLS::GetPrivateProfileInt(L"Main", L"FileCount ", 0, file);
    std::vector<wchar_t> buffer(9, L'#');
    CheckCopied(buffer, 8,
                TOOLS::GetPrivateProfileString(L"List", L"0", L"", buffer.data(), 8, file));
    NoLibraries host;
    CONFIG::CGraphsConfig registry(fuzzing::ScratchPath(""), file, &host);
    registry.CreateGraphHandler(KADO::Product::InvalidComponentType);
    return 0;
}
