#include "TzovUtil_ApplicationVersion.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStringView>
#include <QSysInfo>

namespace {

bool IsDigit(QChar AChar) {
    return AChar.unicode() >= u'0' && AChar.unicode() <= u'9';
}

bool IsThisProgram(const QString &AName) {
    if (AName.isEmpty())
        return true;
    if (!QCoreApplication::instance())
        return false;
    const QFileInfo self(QCoreApplication::applicationFilePath());
    const QFileInfo named(AName);
    return named.exists() && named.canonicalFilePath() == self.canonicalFilePath();
}

} // namespace

QString
TzovUtil_ApplicationVersion::Version_AsString(const QString &AExecutable_FQFilename_or_Bundle_FQFolder) {
    // Program files carry no version resource on this platform: the running program's numbers are fixed at
    // build time, and any other file has no version we can read, which reads as "0.0.0.0".
    if (!IsThisProgram(AExecutable_FQFilename_or_Bundle_FQFolder.trimmed()))
        return QStringLiteral("0.0.0.0");
    return QStringLiteral("%1.%2.%3.%4")
        .arg(TAVIX_VERSION_MAJOR)
        .arg(TAVIX_VERSION_MINOR)
        .arg(TAVIX_VERSION_RELEASE)
        .arg(TAVIX_VERSION_BUILD);
}

void TzovUtil_ApplicationVersion::Split(const QString &AVersion, qint32 &AMajor, qint32 &AMinor,
                                        qint32 &ARelease, qint32 &ABuild) {
    const TFourIntArray parts = Split(AVersion);
    AMajor = parts[0];
    AMinor = parts[1];
    ARelease = parts[2];
    ABuild = parts[3];
}

TFourIntArray TzovUtil_ApplicationVersion::Split(const QString &AVersion) {
    // Same as the first match of "(\d+)(\.\d+)?(\.\d+)?(\.\d+)?" with ASCII digits, without a regex engine.
    TFourIntArray result{0, 0, 0, 0};
    const QStringView text(AVersion);
    qsizetype pos = 0;
    while (pos < text.size() && !IsDigit(text[pos]))
        ++pos;
    for (int part = 0; part < 4 && pos < text.size(); ++part) {
        if (part > 0) {
            if (text[pos] != u'.' || pos + 1 >= text.size() || !IsDigit(text[pos + 1]))
                break;
            ++pos;
        }
        const qsizetype start = pos;
        while (pos < text.size() && IsDigit(text[pos]))
            ++pos;
        bool ok = false;
        const int value = text.mid(start, pos - start).toInt(&ok);
        result[part] = ok ? value : 0;
    }
    return result;
}

int TzovUtil_ApplicationVersion::Compare(const QString &ALeft, const QString &ARight) {
    const TFourIntArray left = Split(ALeft.trimmed());
    const TFourIntArray right = Split(ARight.trimmed());
    for (int i = 0; i < 4; ++i) {
        if (left[i] != right[i])
            return left[i] > right[i] ? 1 : -1;
    }
    return 0;
}

bool TzovUtil_ApplicationVersion::Compare(const QString &AVersionA, TCompareApplicationVersion AComparison,
                                          const QString &AVersionB) {
    const int c = Compare(AVersionA, AVersionB);
    switch (AComparison) {
    case cavGreaterThan:
        return c > 0;
    case cavLessThan:
        return c < 0;
    case cavEquals:
        return c == 0;
    case cavNotEquals:
        return c != 0;
    }
    return false;
}

QString TzovUtil_ApplicationVersion::OSDescription() {
    return QStringLiteral("%1 (%2 %3)%4")
        .arg(QSysInfo::prettyProductName(), QSysInfo::kernelType(), QSysInfo::kernelVersion(),
             ArchitectureSuffix(QSysInfo::currentCpuArchitecture()));
}

QString TzovUtil_ApplicationVersion::ArchitectureSuffix(const QString &ACpuArchitecture) {
    if (ACpuArchitecture == QLatin1String("i386"))
        return QStringLiteral(" on Intel (x86)");
    if (ACpuArchitecture == QLatin1String("x86_64"))
        return QStringLiteral(" on Intel (x64)");
    if (ACpuArchitecture == QLatin1String("arm"))
        return QStringLiteral(" on ARM (32-bit)");
    return {};
}
