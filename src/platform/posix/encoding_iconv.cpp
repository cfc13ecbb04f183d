#include <errno.h>
#include <iconv.h>

#include "platform/encoding.h"

namespace vb {
namespace {

class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    std::optional<std::string> run(std::string_view in) {
        if (cd_ == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        std::string out(in.size() * 2 + 8, '\0');
        char* src = const_cast<char*>(in.data());
        size_t srcLeft = in.size();
        size_t done = 0;
        while (true) {
            char* dst = out.data() + done;
            size_t dstLeft = out.size() - done;
            size_t r = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
            done = out.size() - dstLeft;
            if (r != static_cast<size_t>(-1)) {
                // Flush any shift state, then stop.
                dst = out.data() + done;
                dstLeft = out.size() - done;
                if (iconv(cd_, nullptr, nullptr, &dst, &dstLeft) == static_cast<size_t>(-1)) return std::nullopt;
                done = out.size() - dstLeft;
                break;
            }
            if (errno != E2BIG) return std::nullopt;
            out.resize(out.size() * 2);
        }
        out.resize(done);
        return out;
    }

private:
    iconv_t cd_;
};

}  // namespace

std::optional<std::string> utf8ToGbk(std::string_view utf8) {
    thread_local Converter c("CP936", "UTF-8");
    return c.run(utf8);
}

std::optional<std::string> gbkToUtf8(std::string_view gbk) {
    thread_local Converter c("UTF-8", "CP936");
    return c.run(gbk);
}

}  // namespace vb
