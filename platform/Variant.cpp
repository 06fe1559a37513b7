#include "Com.h"
#include "Text.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <system_error>

VARIANT::VARIANT(const VARIANT& other) : lVal(0) {
    VariantCopy(this, &other);
}

VARIANT& VARIANT::operator=(const VARIANT& other) {
    VariantCopy(this, &other);
    return *this;
}

VARIANT::~VARIANT() {
    VariantClear(this);
}

void VariantInit(VARIANT* v) {
    if (!v)
        return;
    v->vt = VT_EMPTY;
    v->dblVal = 0;
    v->bstrVal.clear();
}

HRESULT VariantClear(VARIANT* v) {
    if (!v)
        return E_POINTER;
    if (v->vt == VT_DISPATCH && v->pdispVal)
        v->pdispVal->Release();
    v->vt = VT_EMPTY;
    v->dblVal = 0;
    v->bstrVal.clear();
    return S_OK;
}

HRESULT VariantCopy(VARIANT* dest, const VARIANT* src) {
    if (!dest || !src)
        return E_POINTER;
    if (dest == src)
        return S_OK;
    if (src->vt == VT_DISPATCH && src->pdispVal)
        src->pdispVal->AddRef(); // before clearing dest, which may hold the same object
    VariantClear(dest);
    dest->vt = src->vt;
    switch (src->vt) {
    case VT_I2:
        dest->iVal = src->iVal;
        break;
    case VT_I4:
        dest->lVal = src->lVal;
        break;
    case VT_R8:
        dest->dblVal = src->dblVal;
        break;
    case VT_DATE:
        dest->date = src->date;
        break;
    case VT_BOOL:
        dest->boolVal = src->boolVal;
        break;
    case VT_ERROR:
        dest->scode = src->scode;
        break;
    case VT_DISPATCH:
        dest->pdispVal = src->pdispVal;
        break;
    case VT_BSTR:
        dest->bstrVal = src->bstrVal;
        break;
    default:
        dest->dblVal = src->dblVal;
        break;
    }
    return S_OK;
}

namespace {

// The valid range of an automation date: years 100 to 9999.
constexpr double kMinDate = -657434.0;
constexpr double kMaxDate = 2958465.99999999;

using foldline::EqualsNoCase;
using foldline::Trim;

// Days since 1970-01-01 of a civil date (proleptic Gregorian).
long long DaysFromCivil(long long y, unsigned m, unsigned d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

void CivilFromDays(long long z, long long* y, unsigned* m, unsigned* d) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    *d = doy - (153 * mp + 2) / 5 + 1;
    *m = mp < 10 ? mp + 3 : mp - 9;
    *y = static_cast<long long>(yoe) + era * 400 + (*m <= 2);
}

constexpr long long kDateEpochDays = -25569; // 1899-12-30 relative to 1970-01-01

// "YYYY-MM-DD HH:MM:SS", or "YYYY-MM-DD" at midnight. Negative dates count whole days backwards
// and the fraction forwards within the day, as automation dates do.
std::string NumberToText(double value);

std::string DateToText(DATE date) {
    if (!(date >= kMinDate && date <= kMaxDate + 1))
        return NumberToText(date);
    double whole = std::trunc(date);
    long long seconds = std::llround(std::fabs(date - whole) * 86400.0);
    long long day = static_cast<long long>(whole);
    if (seconds >= 86400) {
        seconds -= 86400;
        day += date < 0 ? -1 : 1;
    }
    long long y;
    unsigned m, d;
    CivilFromDays(day + kDateEpochDays, &y, &m, &d);
    char text[48];
    if (seconds == 0)
        std::snprintf(text, sizeof text, "%04lld-%02u-%02u", y, m, d);
    else
        std::snprintf(text, sizeof text, "%04lld-%02u-%02u %02lld:%02lld:%02lld", y, m, d,
                      seconds / 3600, seconds / 60 % 60, seconds % 60);
    return text;
}

bool TextToDate(std::string_view text, DATE* out) {
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0, used = 0;
    std::string buffer(text);
    int fields = std::sscanf(buffer.c_str(), "%4d-%2d-%2d%n", &y, &mo, &d, &used);
    if (fields != 3)
        return false;
    std::string_view rest = Trim(text.substr(static_cast<std::size_t>(used)));
    if (!rest.empty()) {
        std::string time(rest);
        int timeUsed = 0;
        if (std::sscanf(time.c_str(), "%2d:%2d:%2d%n", &h, &mi, &s, &timeUsed) != 3 ||
            static_cast<std::size_t>(timeUsed) != time.size())
            return false;
    }
    if (y < 100 || y > 9999 || mo < 1 || mo > 12 || d < 1 || h > 23 || mi > 59 || s > 59 || h < 0 ||
        mi < 0 || s < 0)
        return false;
    long long days = DaysFromCivil(y, static_cast<unsigned>(mo), static_cast<unsigned>(d));
    long long check_y;
    unsigned check_m, check_d;
    CivilFromDays(days, &check_y, &check_m, &check_d);
    if (check_m != static_cast<unsigned>(mo) || check_d != static_cast<unsigned>(d))
        return false; // e.g. February 30
    double whole = static_cast<double>(days - kDateEpochDays);
    double fraction = (h * 3600.0 + mi * 60.0 + s) / 86400.0;
    *out = whole < 0 ? whole - fraction : whole + fraction;
    return true;
}

// Parses a number in the C locale whatever the process locale. DISP_E_OVERFLOW for a number
// too large for a double, DISP_E_TYPEMISMATCH for anything that is not a number.
HRESULT TextToNumber(std::string_view text, double* out) {
    text = Trim(text);
    if (!text.empty() && text[0] == '+')
        text.remove_prefix(1);
    if (text.empty())
        return DISP_E_TYPEMISMATCH;
    char c = text[0] == '-' && text.size() > 1 ? text[1] : text[0];
    if (!(c >= '0' && c <= '9') && c != '.')
        return DISP_E_TYPEMISMATCH; // refuses "inf", "nan" and hexadecimal
    double value = 0;
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ptr != text.data() + text.size())
        return DISP_E_TYPEMISMATCH;
    if (ec == std::errc::result_out_of_range) {
        // Too small rounds to zero, too large overflows: judge by the decimal magnitude.
        std::string_view digits = text[0] == '-' ? text.substr(1) : text;
        std::size_t e = digits.find_first_of("eE");
        long long exponent = 0;
        if (e != std::string_view::npos) {
            std::string_view exp = digits.substr(e + 1);
            if (!exp.empty() && exp[0] == '+')
                exp.remove_prefix(1);
            std::from_chars(exp.data(), exp.data() + exp.size(), exponent);
            digits = digits.substr(0, e);
        }
        long long magnitude = 0;
        std::size_t point = digits.find('.');
        std::string_view whole = digits.substr(0, point);
        std::size_t firstDigit = whole.find_first_not_of('0');
        if (firstDigit != std::string_view::npos) {
            magnitude = static_cast<long long>(whole.size() - firstDigit);
        } else if (point != std::string_view::npos) {
            std::string_view fraction = digits.substr(point + 1);
            std::size_t nonZero = fraction.find_first_not_of('0');
            magnitude = nonZero == std::string_view::npos ? 0 : -static_cast<long long>(nonZero);
        }
        if (magnitude + exponent > 0)
            return DISP_E_OVERFLOW;
        *out = 0;
        return S_OK;
    }
    if (ec != std::errc())
        return DISP_E_TYPEMISMATCH;
    *out = value;
    return S_OK;
}

std::string NumberToText(double value) {
    char text[64];
    auto [ptr, ec] = std::to_chars(text, text + sizeof text, value);
    if (ec != std::errc())
        return "0";
    return std::string(text, ptr);
}

// The numeric value of src, for conversions to numbers.
HRESULT NumericValue(const VARIANT& src, double* out) {
    switch (src.vt) {
    case VT_EMPTY:
        *out = 0;
        return S_OK;
    case VT_I2:
        *out = src.iVal;
        return S_OK;
    case VT_I4:
        *out = src.lVal;
        return S_OK;
    case VT_R8:
        *out = src.dblVal;
        return S_OK;
    case VT_DATE:
        *out = src.date;
        return S_OK;
    case VT_BOOL:
        *out = src.boolVal ? -1 : 0;
        return S_OK;
    case VT_BSTR: {
        if (EqualsNoCase(Trim(src.bstrVal), "true")) {
            *out = -1;
            return S_OK;
        }
        if (EqualsNoCase(Trim(src.bstrVal), "false")) {
            *out = 0;
            return S_OK;
        }
        return TextToNumber(src.bstrVal, out);
    }
    default:
        return DISP_E_TYPEMISMATCH;
    }
}

HRESULT RoundToInteger(double value, double lo, double hi, double* out) {
    if (std::isnan(value))
        return DISP_E_OVERFLOW;
    double rounded = std::nearbyint(value); // half to even, as automation rounds
    if (rounded < lo || rounded > hi)
        return DISP_E_OVERFLOW;
    *out = rounded;
    return S_OK;
}

// The conversions of a value that is neither of the target type nor null, a dispatch pointer or
// an error code, one target type each.

HRESULT ChangeToInteger(const VARIANT& src, VARTYPE vt, VARIANT* result) {
    double value = 0;
    if (HRESULT hr = NumericValue(src, &value); FAILED(hr))
        return hr;
    double rounded = 0;
    HRESULT hr = vt == VT_I2 ? RoundToInteger(value, -32768.0, 32767.0, &rounded)
                             : RoundToInteger(value, -2147483648.0, 2147483647.0, &rounded);
    if (FAILED(hr))
        return hr;
    result->vt = vt;
    if (vt == VT_I2)
        result->iVal = static_cast<std::int16_t>(rounded);
    else
        result->lVal = static_cast<std::int32_t>(rounded);
    return S_OK;
}

HRESULT ChangeToDate(const VARIANT& src, VARIANT* result) {
    double value = 0;
    if (src.vt == VT_BSTR && TextToDate(Trim(src.bstrVal), &value)) {
        // a date text
    } else if (HRESULT hr = NumericValue(src, &value); FAILED(hr)) {
        return hr;
    }
    if (!(value >= kMinDate && value <= kMaxDate))
        return DISP_E_OVERFLOW;
    result->vt = VT_DATE;
    result->date = value;
    return S_OK;
}

HRESULT ChangeToText(const VARIANT& src, WORD flags, VARIANT* result) {
    result->vt = VT_BSTR;
    switch (src.vt) {
    case VT_EMPTY:
        return S_OK;
    case VT_I2:
        result->bstrVal = std::to_string(src.iVal);
        return S_OK;
    case VT_I4:
        result->bstrVal = std::to_string(src.lVal);
        return S_OK;
    case VT_R8:
        result->bstrVal = NumberToText(src.dblVal);
        return S_OK;
    case VT_DATE:
        result->bstrVal = DateToText(src.date);
        return S_OK;
    case VT_BOOL:
        if (flags & VARIANT_ALPHABOOL)
            result->bstrVal = src.boolVal ? "True" : "False";
        else
            result->bstrVal = src.boolVal ? "-1" : "0";
        return S_OK;
    default:
        return DISP_E_TYPEMISMATCH;
    }
}

HRESULT ChangeValue(const VARIANT& src, WORD flags, VARTYPE vt, VARIANT* result) {
    double value = 0;
    switch (vt) {
    case VT_I2:
    case VT_I4:
        return ChangeToInteger(src, vt, result);
    case VT_R8:
    case VT_BOOL:
        if (HRESULT hr = NumericValue(src, &value); FAILED(hr))
            return hr;
        result->vt = vt;
        if (vt == VT_R8)
            result->dblVal = value;
        else
            result->boolVal = value != 0 ? VARIANT_TRUE : VARIANT_FALSE;
        return S_OK;
    case VT_DATE:
        return ChangeToDate(src, result);
    case VT_BSTR:
        return ChangeToText(src, flags, result);
    case VT_DISPATCH:
    case VT_ERROR:
        return DISP_E_TYPEMISMATCH;
    default:
        return DISP_E_BADVARTYPE;
    }
}

} // namespace

HRESULT VariantChangeType(VARIANT* dest, const VARIANT* src, WORD flags, VARTYPE vt) {
    if (!dest || !src)
        return E_POINTER;
    VARIANT result;
    if (src->vt == vt) {
        result = *src;
    } else if (vt == VT_EMPTY) {
        // nothing: result stays empty
    } else if (vt == VT_NULL) {
        if (src->vt != VT_EMPTY)
            return DISP_E_TYPEMISMATCH;
        result.vt = VT_NULL;
    } else if (src->vt == VT_NULL || src->vt == VT_DISPATCH || src->vt == VT_ERROR) {
        return DISP_E_TYPEMISMATCH;
    } else if (HRESULT hr = ChangeValue(*src, flags, vt, &result); FAILED(hr)) {
        return hr;
    }
    *dest = result;
    return S_OK;
}

VARIANT MakeVariantI2(std::int16_t v) {
    VARIANT r;
    r.vt = VT_I2;
    r.iVal = v;
    return r;
}
VARIANT MakeVariantI4(std::int32_t v) {
    VARIANT r;
    r.vt = VT_I4;
    r.lVal = v;
    return r;
}
VARIANT MakeVariantR8(double v) {
    VARIANT r;
    r.vt = VT_R8;
    r.dblVal = v;
    return r;
}
VARIANT MakeVariantDate(DATE v) {
    VARIANT r;
    r.vt = VT_DATE;
    r.date = v;
    return r;
}
VARIANT MakeVariantBool(bool v) {
    VARIANT r;
    r.vt = VT_BOOL;
    r.boolVal = v ? VARIANT_TRUE : VARIANT_FALSE;
    return r;
}
VARIANT MakeVariantBstr(std::string v) {
    VARIANT r;
    r.vt = VT_BSTR;
    r.bstrVal = std::move(v);
    return r;
}
