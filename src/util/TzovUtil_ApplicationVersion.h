// The program's own version text, version comparison and the host description.
#pragma once

#include <QString>

#include <array>

enum TCompareApplicationVersion { cavGreaterThan, cavLessThan, cavEquals, cavNotEquals };

// Major, Minor, Release, Build.
using TFourIntArray = std::array<qint32, 4>;

class TzovUtil_ApplicationVersion {
public:
    TzovUtil_ApplicationVersion() = delete;

    // "major.minor.release.build" of the named program file; an empty name means this program.
    static QString Version_AsString(const QString &AExecutable_FQFilename_or_Bundle_FQFolder = {});
    // The first "n[.n[.n[.n]]]" anywhere in the text; missing or unreadable numbers are 0.
    static void Split(const QString &AVersion, qint32 &AMajor, qint32 &AMinor, qint32 &ARelease,
                      qint32 &ABuild);
    static TFourIntArray Split(const QString &AVersion);
    // 1 when ALeft is the higher version, -1 when lower, 0 when equal.
    static int Compare(const QString &ALeft, const QString &ARight);
    static bool Compare(const QString &AVersionA, TCompareApplicationVersion AComparison,
                        const QString &AVersionB);
    // The system's own name and version, the kernel, and the processor family where it is one we name.
    static QString OSDescription();
    // " on Intel (x86)", " on Intel (x64)", " on ARM (32-bit)" for QSysInfo's "i386", "x86_64", "arm"; else
    // empty.
    static QString ArchitectureSuffix(const QString &ACpuArchitecture);
};
