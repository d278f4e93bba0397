#include "rating/sentence.h"

namespace rating {

std::string fill(const char *templ, std::initializer_list<std::string> args)
{
    std::string out;
    for (const char *p = templ; *p; ++p) {
        if (p[0] == '%' && p[1] >= '1' && p[1] <= '9') {
            const std::size_t i = static_cast<std::size_t>(p[1] - '1');
            if (i < args.size()) out += *(args.begin() + i);
            ++p;
        } else {
            out += *p;
        }
    }
    return out;
}

} // namespace rating
