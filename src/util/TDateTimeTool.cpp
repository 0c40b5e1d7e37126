#include "TDateTimeTool.h"

#include <QStringView>

// Hand-written formatting and parsing: these run for every date attribute of every record, and the text form
// must never follow the user's regional settings.

namespace {

// Small fixed buffer; the longest text written is "yyyy/mm/dd - hh:nn:ss.zzz" (or a wider year).
struct TBuf {
    char16_t FData[48];
    int FLen = 0;
    void Put(char16_t AChar) { FData[FLen++] = AChar; }
    void Put(const char *AText) {
        while (*AText)
            Put(char16_t(*AText++));
    }
    void PutNumber(int AValue, int AMinDigits) {
        if (AValue < 0) {
            Put(u'-');
            AValue = -AValue;
        }
        char16_t digits[12];
        int n = 0;
        do {
            digits[n++] = char16_t(u'0' + AValue % 10);
            AValue /= 10;
        } while (AValue > 0);
        for (int i = n; i < AMinDigits; ++i)
            Put(u'0');
        while (n > 0)
            Put(digits[--n]);
    }
    QString ToString() const { return QString(reinterpret_cast<const QChar *>(FData), FLen); }
};

void PutDate(TBuf &ABuf, TDateTime AValue) {
    int y = 0, m = 0, d = 0;
    AValue.Date().getDate(&y, &m, &d);
    ABuf.PutNumber(y, 4);
    ABuf.Put(u'/');
    ABuf.PutNumber(m, 2);
    ABuf.Put(u'/');
    ABuf.PutNumber(d, 2);
}

// Midnight is 12 AM, noon 12 PM; milliseconds are dropped, not rounded.
void PutPlainTime(TBuf &ABuf, TDateTime AValue) {
    const QTime t = AValue.Time();
    const int h = t.hour() % 12;
    ABuf.PutNumber(h == 0 ? 12 : h, 1);
    ABuf.Put(u':');
    ABuf.PutNumber(t.minute(), 2);
    ABuf.Put(u':');
    ABuf.PutNumber(t.second(), 2);
    ABuf.Put(t.hour() < 12 ? " AM" : " PM");
}

void PutZTime(TBuf &ABuf, TDateTime AValue) {
    const QTime t = AValue.Time();
    ABuf.PutNumber(t.hour(), 2);
    ABuf.Put(u':');
    ABuf.PutNumber(t.minute(), 2);
    ABuf.Put(u':');
    ABuf.PutNumber(t.second(), 2);
    ABuf.Put(u'.');
    ABuf.PutNumber(t.msec(), 3);
}

// Reads cursor over one part of the text.
class TScanner {
public:
    explicit TScanner(QStringView AText) : FText(AText) {}
    bool AtEnd() const { return FPos >= FText.size(); }
    char16_t Peek() const { return AtEnd() ? 0 : FText[FPos].unicode(); }
    bool Take(char16_t AChar) {
        if (Peek() != AChar)
            return false;
        ++FPos;
        return true;
    }
    void SkipBlanks() {
        while (Peek() == u' ')
            ++FPos;
    }
    // Reads 1 to AMaxDigits decimal digits; more digits than that is not a valid field.
    bool Number(int AMaxDigits, int &AValue, int *ADigits = nullptr) {
        int n = 0;
        AValue = 0;
        while (!AtEnd() && Peek() >= u'0' && Peek() <= u'9') {
            if (++n > AMaxDigits)
                return false;
            AValue = AValue * 10 + (Peek() - u'0');
            ++FPos;
        }
        if (ADigits)
            *ADigits = n;
        return n > 0;
    }
    // Case-insensitive "AM" / "PM"; returns 0 for AM, 12 for PM, -1 when neither stands here.
    int Marker() {
        if (FText.size() - FPos < 2)
            return -1;
        const char16_t a = FText[FPos].toUpper().unicode();
        const char16_t m = FText[FPos + 1].toUpper().unicode();
        if (m != u'M' || (a != u'A' && a != u'P'))
            return -1;
        FPos += 2;
        return a == u'A' ? 0 : 12;
    }

private:
    QStringView FText;
    qsizetype FPos = 0;
};

// "y/m/d" and nothing else. A year of one or two digits is taken in the current century.
bool ParseDate(QStringView AText, QDate &ADate) {
    TScanner s(AText);
    int y = 0, m = 0, d = 0, yearDigits = 0;
    if (!s.Number(4, y, &yearDigits) || !s.Take(u'/') || !s.Number(2, m) || !s.Take(u'/') ||
        !s.Number(2, d) || !s.AtEnd())
        return false;
    if (yearDigits <= 2)
        y += TClock::NowUTC().Date().year() / 100 * 100;
    if (!QDate::isValid(y, m, d))
        return false;
    ADate = QDate(y, m, d);
    return true;
}

// "h[:n[:s[.z]]]" with an optional "AM"/"PM" marker after optional blanks. With a marker the hour is 1-12
// (0 is read as 12); without one it is the 24-hour clock. Both forms are accepted by both readers so that a
// text written by one writer still reads with the other reader.
bool ParseTime(QStringView AText, QTime &ATime) {
    TScanner s(AText);
    int h = 0, n = 0, sec = 0, ms = 0;
    if (!s.Number(2, h))
        return false;
    if (s.Take(u':')) {
        if (!s.Number(2, n))
            return false;
        if (s.Take(u':')) {
            if (!s.Number(2, sec))
                return false;
            if (s.Take(u'.')) {
                int digits = 0;
                if (!s.Number(3, ms, &digits))
                    return false;
                // A fraction of a second: ".5" is half a second.
                for (; digits < 3; ++digits)
                    ms *= 10;
            }
        }
    }
    s.SkipBlanks();
    if (!s.AtEnd()) {
        const int offset = s.Marker();
        if (offset < 0 || !s.AtEnd() || h > 12)
            return false;
        h = h % 12 + offset;
    }
    if (!QTime::isValid(h, n, sec, ms))
        return false;
    ATime = QTime(h, n, sec, ms);
    return true;
}

QStringView Trimmed(QStringView AText) {
    return AText.trimmed();
}

// Shared by the plain reader (which trims) and the Z reader (which does not).
TDateTime ReadDateTime(QStringView AText, TDateTime ADefault, bool ATrim) {
    if (ATrim)
        AText = Trimmed(AText);
    QStringView datePart, timePart;
    const qsizetype joint = AText.indexOf(u" - ");
    if (joint >= 0) {
        datePart = AText.left(joint);
        timePart = AText.mid(joint + 3);
    } else {
        const qsizetype blank = AText.indexOf(u' ');
        if (blank < 0)
            return ADefault;
        datePart = AText.left(blank);
        timePart = AText.mid(blank + 1);
    }
    if (ATrim) {
        datePart = Trimmed(datePart);
        timePart = Trimmed(timePart);
    }
    QDate date;
    QTime time;
    if (!ParseDate(datePart, date) || !ParseTime(timePart, time))
        return ADefault;
    return TDateTime::FromDateAndTime(date, time);
}

TDateTime ReadDate(QStringView AText, TDateTime ADefault) {
    QDate date;
    if (!ParseDate(AText, date))
        return ADefault;
    return TDateTime::FromDateAndTime(date, QTime(0, 0));
}

TDateTime ReadTime(QStringView AText, TDateTime ADefault) {
    QTime time;
    if (!ParseTime(AText, time))
        return ADefault;
    return TDateTime::FromMSecs(time.msecsSinceStartOfDay());
}

} // namespace

QString TDateTimeTool::DateTime_ToString(TDateTime AValue) {
    TBuf b;
    PutDate(b, AValue);
    b.Put(" - ");
    PutPlainTime(b, AValue);
    return b.ToString();
}

TDateTime TDateTimeTool::DateTime_FromString(const QString &AValue, TDateTime ADefaultValue) {
    return ReadDateTime(AValue, ADefaultValue, true);
}

QString TDateTimeTool::Date_ToString(TDateTime AValue) {
    TBuf b;
    PutDate(b, AValue);
    return b.ToString();
}

TDateTime TDateTimeTool::Date_FromString(const QString &AValue, TDateTime ADefaultValue) {
    return ReadDate(Trimmed(AValue), ADefaultValue);
}

QString TDateTimeTool::Time_ToString(TDateTime AValue) {
    TBuf b;
    PutPlainTime(b, AValue);
    return b.ToString();
}

TDateTime TDateTimeTool::Time_FromString(const QString &AValue, TDateTime ADefaultValue) {
    return ReadTime(Trimmed(AValue), ADefaultValue);
}

QString TDateTimeTool::DateTimeZ_ToString(TDateTime AValue) {
    TBuf b;
    PutDate(b, AValue);
    b.Put(" - ");
    PutZTime(b, AValue);
    return b.ToString();
}

TDateTime TDateTimeTool::DateTimeZ_FromString(const QString &AValue, TDateTime ADefaultValue) {
    return ReadDateTime(AValue, ADefaultValue, false);
}

QString TDateTimeTool::DateZ_ToString(TDateTime AValue) {
    return Date_ToString(AValue);
}

TDateTime TDateTimeTool::DateZ_FromString(const QString &AValue, TDateTime ADefaultValue) {
    return ReadDate(AValue, ADefaultValue);
}

QString TDateTimeTool::TimeZ_ToString(TDateTime AValue) {
    TBuf b;
    PutZTime(b, AValue);
    return b.ToString();
}

TDateTime TDateTimeTool::TimeZ_FromString(const QString &AValue, TDateTime ADefaultValue) {
    return ReadTime(AValue, ADefaultValue);
}
