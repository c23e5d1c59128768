#include <iconv.h>

#include <cerrno>

#include "CodePage.h"

namespace TOOLS {
namespace {

class IconvHandle {
public:
    IconvHandle(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~IconvHandle() {
        if (valid()) iconv_close(cd_);
    }
    IconvHandle(const IconvHandle&) = delete;
    IconvHandle& operator=(const IconvHandle&) = delete;
    bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts as much of [in, in + inLeft) as it can, appending to `out`. Returns 0 when all
    // of it was converted, else the errno that stopped it (EILSEQ, EINVAL); `in`/`inLeft` then
    // point at the sequence that could not be converted.
    int Convert(const char*& in, size_t& inLeft, std::string& out) {
        while (inLeft > 0) {
            const size_t used = out.size();
            const size_t room = inLeft * 2 + 16;
            out.resize(used + room);
            char* inPtr = const_cast<char*>(in);
            char* outPtr = &out[used];
            size_t outLeft = room;
            const size_t rc = iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft);
            const int error = rc == static_cast<size_t>(-1) ? errno : 0;
            out.resize(used + (room - outLeft));
            in = inPtr;
            if (error != 0 && error != E2BIG) return error;
        }
        return 0;
    }

private:
    iconv_t cd_;
};

CodePageStatus Convert(const char* to, const char* from, const char* input, size_t size,
                       std::string& out, size_t& consumed) {
    consumed = 0;
    IconvHandle converter(to, from);
    if (!converter.valid()) return CodePageStatus::kUnavailable;
    const char* in = input;
    size_t inLeft = size;
    const int error = converter.Convert(in, inLeft, out);
    consumed = static_cast<size_t>(in - input);
    return error == 0 ? CodePageStatus::kDone : CodePageStatus::kStopped;
}

}  // namespace

const char* CodePageName(TextEncoding codePage) {
    return codePage == TextEncoding::kGb18030 ? "GB18030" : "GBK";
}

CodePageStatus DecodeCodePage(TextEncoding codePage, const char* bytes, size_t size,
                              std::string& utf8, size_t& consumed) {
    return Convert("UTF-8", CodePageName(codePage), bytes, size, utf8, consumed);
}

CodePageStatus EncodeCodePage(TextEncoding codePage, const char* utf8, size_t size,
                              std::string& bytes, size_t& consumed) {
    return Convert(CodePageName(codePage), "UTF-8", utf8, size, bytes, consumed);
}

}  // namespace TOOLS
