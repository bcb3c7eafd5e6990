#include "support/FmtArg.h"

#include <cstdio>

#include "support/CStdLib.h"

namespace vellcfgrdr {

std::string FmtArg::Text() const {
    struct Visitor {
        std::string operator()(const std::string& s) const { return s; }
        std::string operator()(int64_t i) const { return std::to_string(i); }
        std::string operator()(bool b) const { return b ? "True" : "False"; }
        std::string operator()(double d) const {
            // Fifteen significant digits: every one of them exact in a double,
            // so 0.1 reads "0.1" and not its binary neighbour.
            char buf[32];
            std::snprintf(buf, sizeof buf, "%.15G", d);
            return buf;
        }
    };
    return std::visit(Visitor{}, v_);
}

int64_t FmtArg::Integer() const {
    struct Visitor {
        int64_t operator()(const std::string& s) const { return Round(CStdLib::Val(s)); }
        int64_t operator()(int64_t i) const { return i; }
        int64_t operator()(bool b) const { return b ? 1 : 0; }
        int64_t operator()(double d) const { return Round(d); }
        static int64_t Round(double d) {
            d = CStdLib::RoundHalfEven(d);
            if (!(d > -9.2e18 && d < 9.2e18)) return 0;
            return static_cast<int64_t>(d);
        }
    };
    return std::visit(Visitor{}, v_);
}

}  // namespace vellcfgrdr
