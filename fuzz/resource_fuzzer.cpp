// The resource settings file: load, change, save, reload. A save either leaves the file as it
// was or writes one that loads again with exactly the values set.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include <siteconfig/CResourceConfig.h>
#include "FuzzSupport.h"

namespace {

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Keys that settings files commonly hold, and values that need escaping or are not ASCII.
const wchar_t* const kKeys[] = {L"AppDir", L"Res", L"Path", L"a", L"Config", L"val"};
const wchar_t* const kValues[] = {L".\\Images\\a.png", L"<&\"'>",          L"",
                                  L"中文 \U0001F600",  L"  two  blanks  ", L"tab\there"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool quiet = fuzzing::Quiet();
    (void)quiet;
    const CString path = fuzzing::WriteScratch("Resource.xml", data, size);
    const std::string nativePath = fuzzing::ScratchRoot() + "Resource.xml";

    // "AppDir" comes from the file when it holds one, else from SetAppDir; only the file's
    // keys are written back, so only those are changed.
    CONFIG::CResourceConfig store;
    const bool loaded = store.Load(path);
    const bool fileHasAppDir = store.FindVar(L"AppDir");
    if (!fileHasAppDir) store.SetAppDir(L"D:\\App\\");
    for (const wchar_t* key : kKeys) store.GetValue(key);

    size_t k = 0;
    for (const wchar_t* key : kKeys) {
        if (!fileHasAppDir && CString(key) == L"AppDir") continue;
        if (store.FindVar(key)) store.SetValue(key, kValues[k++ % std::size(kValues)]);
    }
    const std::string before = ReadBytes(nativePath);
    const bool saved = store.Save(path);
    fuzzing::Check(!saved || loaded, "a file that did not load was saved");
    if (!saved) {
        fuzzing::Check(ReadBytes(nativePath) == before, "a failed save changed the file");
        return 0;
    }

    CONFIG::CResourceConfig reloaded;
    fuzzing::Check(reloaded.Load(path), "a saved settings file does not load again");
    if (!fileHasAppDir) reloaded.SetAppDir(L"D:\\App\\");
    for (const wchar_t* key : kKeys) {
        fuzzing::Check(reloaded.FindVar(key) == store.FindVar(key),
                       "a saved settings file holds other keys");
        // "AppDir" set only by SetAppDir is not written; every key the file holds is.
        if (reloaded.GetValue(key) != store.GetValue(key)) {
            std::fprintf(stderr, "key %ls: set \"%ls\", reloaded \"%ls\"\n", key,
                         store.GetValue(key).GetString(), reloaded.GetValue(key).GetString());
            fuzzing::Check(false, "a saved settings file holds another value");
        }
    }
    return 0;
}
