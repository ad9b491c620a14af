#include "glance/WinGlanceLocale.h"

#include <chrono>

#include "base/WinText.h"

namespace ambervale {
namespace {

// CALDATETIME, which the SDK declares beside ConvertCalDateTimeToSystemTime and MinGW's headers lack.
struct CalendarDateTime {
    DWORD calendar;
    UINT era;
    UINT year;
    UINT month;
    UINT day;
    UINT dayOfWeek;
    UINT hour;
    UINT minute;
    UINT second;
    ULONG tick;
};

std::string LocaleText(LCTYPE type) {
    char buffer[256] = {};
    const int length = GetLocaleInfoA(LOCALE_USER_DEFAULT, type | LOCALE_USE_CP_ACP, buffer, sizeof buffer);
    return length > 0 ? std::string(buffer, static_cast<std::size_t>(length - 1)) : std::string();
}

// A name of the user's calendar, or the locale's own when the calendar gives none.
std::string CalendarText(int calendar, CALTYPE type, LCTYPE fallback) {
    char buffer[256] = {};
    const int length = GetCalendarInfoA(LOCALE_USER_DEFAULT, static_cast<CALID>(calendar), type | CAL_USE_CP_ACP,
                                        buffer, sizeof buffer, nullptr);
    if (length > 1) return std::string(buffer, static_cast<std::size_t>(length - 1));
    return fallback ? LocaleText(fallback) : std::string();
}

int CalendarNumber(int calendar, CALTYPE type, int fallback) {
    DWORD value = 0;
    return GetCalendarInfoA(LOCALE_USER_DEFAULT, static_cast<CALID>(calendar), type | CAL_RETURN_NUMBER, nullptr, 0,
                            &value) > 0
               ? static_cast<int>(value)
               : fallback;
}

BOOL CALLBACK AddEra(LPWSTR name, CALID, LPWSTR, LPARAM list) {
    reinterpret_cast<std::vector<std::string>*>(list)->push_back(win::AnsiFromWide(name));
    return TRUE;
}

SYSTEMTIME SystemTimeOf(LocalSeconds when) {
    namespace chr = std::chrono;
    const std::int64_t day = DayOf(when);
    const chr::year_month_day date{chr::sys_days{chr::days{day}}};
    const std::int64_t inDay = when - day * 86400;
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(static_cast<int>(date.year()));
    st.wMonth = static_cast<WORD>(static_cast<unsigned>(date.month()));
    st.wDay = static_cast<WORD>(static_cast<unsigned>(date.day()));
    st.wDayOfWeek = static_cast<WORD>(chr::weekday{chr::sys_days{date}}.c_encoding());
    st.wHour = static_cast<WORD>(inDay / 3600);
    st.wMinute = static_cast<WORD>(inDay / 60 % 60);
    st.wSecond = static_cast<WORD>(inDay % 60);
    return st;
}

std::string DateAnsi(const SYSTEMTIME& st, DWORD flags, const char* picture = nullptr) {
    char buffer[256] = {};
    const int length =
        GetDateFormatA(LOCALE_USER_DEFAULT, flags | LOCALE_USE_CP_ACP, &st, picture, buffer, sizeof buffer);
    return length > 0 ? std::string(buffer, static_cast<std::size_t>(length - 1)) : std::string();
}

std::string DateUtf8(const SYSTEMTIME& st, DWORD flags, const wchar_t* picture = nullptr) {
    wchar_t buffer[256] = {};
    const int length = GetDateFormatW(LOCALE_USER_DEFAULT, flags, &st, picture, buffer, 256);
    return length > 0 ? win::Utf8FromWide(std::wstring_view(buffer, static_cast<std::size_t>(length - 1)))
                      : IsoLocalText(ToLocalSeconds(st.wYear, st.wMonth, st.wDay, 0, 0, 0)).substr(0, 10);
}

ClockChange ChangeOf(const SYSTEMTIME& st) {
    return {st.wYear, st.wMonth, st.wDayOfWeek, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds};
}

// True when the pictures read a date-time that the writer's own calls wrote as that very date-time.
bool ReadsBack(const DatePictures& pictures) {
    const LocalSeconds sample = ToLocalSeconds(2024, 2, 29, 13, 45, 56);  // a leap day, after noon
    const SYSTEMTIME st = SystemTimeOf(sample);
    char time[128] = {};
    if (GetTimeFormatA(LOCALE_USER_DEFAULT, LOCALE_USE_CP_ACP, &st, nullptr, time, sizeof time) <= 0) return false;
    const std::string line = DateAnsi(st, DATE_SHORTDATE) + " " + time + " Printer Status = ; Printer Name = p; "
                             "Printer Driver Name = d; Printer Port Name = o; ";
    GlanceNames names;
    WinCalendarConverter converter;
    HistoryLineReader reader(pictures, names, &converter);
    HistoryLine read;
    return reader.Read(line, read) == LineReading::Read && read.when == sample;
}

} // namespace

DatePictures UserDatePictures() {
    DatePictures pictures;
    pictures.shortDate = LocaleText(LOCALE_SSHORTDATE);
    pictures.longTime = LocaleText(LOCALE_STIMEFORMAT);
    pictures.am = LocaleText(LOCALE_S1159);
    pictures.pm = LocaleText(LOCALE_S2359);
    DWORD calendar = CAL_GREGORIAN;
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_ICALENDARTYPE | LOCALE_RETURN_NUMBER,
                       reinterpret_cast<LPSTR>(&calendar), sizeof calendar / sizeof(char)) <= 0) {
        calendar = CAL_GREGORIAN;
    }
    const auto fill = [&pictures](int type) {
        pictures.calendar = type;
        pictures.twoDigitYearMax = CalendarNumber(type, CAL_ITWODIGITYEARMAX, 2049);
        for (int i = 0; i < 13; ++i) {
            const LCTYPE month = i < 12 ? static_cast<LCTYPE>(LOCALE_SMONTHNAME1 + i) : 0;
            const LCTYPE abbreviation = i < 12 ? static_cast<LCTYPE>(LOCALE_SABBREVMONTHNAME1 + i) : 0;
            pictures.monthNames[i] = CalendarText(type, static_cast<CALTYPE>(CAL_SMONTHNAME1 + i), month);
            pictures.monthAbbreviations[i] =
                CalendarText(type, static_cast<CALTYPE>(CAL_SABBREVMONTHNAME1 + i), abbreviation);
        }
        for (int i = 0; i < 7; ++i) {
            pictures.dayNames[i] =
                CalendarText(type, static_cast<CALTYPE>(CAL_SDAYNAME1 + i), static_cast<LCTYPE>(LOCALE_SDAYNAME1 + i));
            pictures.dayAbbreviations[i] = CalendarText(type, static_cast<CALTYPE>(CAL_SABBREVDAYNAME1 + i),
                                                        static_cast<LCTYPE>(LOCALE_SABBREVDAYNAME1 + i));
        }
        pictures.eraNames.clear();
        EnumCalendarInfoExEx(AddEra, LOCALE_NAME_USER_DEFAULT, static_cast<CALID>(type), nullptr, CAL_SERASTRING,
                             reinterpret_cast<LPARAM>(&pictures.eraNames));
    };
    fill(static_cast<int>(calendar));
    // A writer whose dates are not in the calendar the locale names (Wine 8 names the Thai Buddhist calendar for a
    // Thai user and writes Gregorian years all the same) is read by the calendar it does write in.
    if (calendar != CAL_GREGORIAN && !ReadsBack(pictures)) {
        const DatePictures declared = pictures;
        fill(CAL_GREGORIAN);
        if (!ReadsBack(pictures)) pictures = declared;
    }
    return pictures;
}

ZoneYear WinTimeZone::ForYear(int year) {
    TIME_ZONE_INFORMATION zone{};
    if (year < 1601 || year > 30827 || !GetTimeZoneInformationForYear(static_cast<USHORT>(year), nullptr, &zone)) {
        // No rules for that year (a date no clock showed): the zone as it stands.
        if (GetTimeZoneInformation(&zone) == TIME_ZONE_ID_INVALID) return {};
    }
    return {static_cast<int>(zone.Bias), static_cast<int>(zone.StandardBias), static_cast<int>(zone.DaylightBias),
            ChangeOf(zone.StandardDate), ChangeOf(zone.DaylightDate)};
}

WinCalendarConverter::WinCalendarConverter() {
    // Windows Vista and later; not Wine 8.
    if (const HMODULE kernel = GetModuleHandleW(L"kernel32.dll")) {
        convert_ = reinterpret_cast<ConvertFunction>(
            reinterpret_cast<void*>(GetProcAddress(kernel, "ConvertCalDateTimeToSystemTime")));
    }
}

std::optional<GregorianDate> WinCalendarConverter::Convert(const CalendarDate& date, int era) {
    if (date.year < 1 || date.month < 1 || date.month > 13 || date.day < 1 || date.day > 31) return std::nullopt;
    const CalendarDateTime in{static_cast<DWORD>(date.calendar), static_cast<UINT>(era), static_cast<UINT>(date.year),
                              static_cast<UINT>(date.month), static_cast<UINT>(date.day), 0, 0, 0, 0, 0};
    SYSTEMTIME out{};
    if (!convert_(&in, &out)) return std::nullopt;
    // The weekday is not given to the conversion; the writer's own call checks the result.
    if (DateAnsi(out, DATE_SHORTDATE) != date.written) return std::nullopt;
    return GregorianDate{out.wYear, out.wMonth, out.wDay};
}

std::optional<GregorianDate> WinCalendarConverter::ToGregorian(const CalendarDate& date) {
    if (!convert_) return std::nullopt;
    if (const auto converted = Convert(date, date.era)) return converted;
    if (date.calendar != calendar::kJapan) return std::nullopt;
    // The era names' order is the enumeration's: where it is not the calendar's own numbering, the era whose date
    // writes back as read is the one.
    for (int era = 1; era <= 8; ++era) {
        if (era == date.era) continue;
        if (const auto converted = Convert(date, era)) return converted;
    }
    return std::nullopt;
}

std::string WinShownDates::Date(LocalSeconds when) {
    const std::int64_t day = DayOf(when);
    if (day != lastDay_) {
        lastDate_ = DateUtf8(SystemTimeOf(when), DATE_SHORTDATE);
        lastDay_ = day;
    }
    return lastDate_;
}

std::string WinShownDates::Time(LocalSeconds when) {
    const SYSTEMTIME st = SystemTimeOf(when);
    wchar_t buffer[128] = {};
    const int length = GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &st, nullptr, buffer, 128);
    return length > 0 ? win::Utf8FromWide(std::wstring_view(buffer, static_cast<std::size_t>(length - 1)))
                      : IsoLocalText(when).substr(11);
}

std::string WinShownDates::DayCaption(std::int64_t day) {
    const SYSTEMTIME st = SystemTimeOf(day * 86400);
    return DateUtf8(st, 0, L"dddd") + " " + Date(day * 86400);
}

} // namespace ambervale
