#include "logging/DateTimeText.h"

namespace ambervale {

std::string GeneralDateText(DateTimeText& text, const LocalDateTime& when) {
    std::string general = text.ShortDate(when);
    if (when.hour != 0 || when.minute != 0 || when.second != 0) {
        general += ' ';
        general += text.LongTime(when);
    }
    return general;
}

} // namespace ambervale
