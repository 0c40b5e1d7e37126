// Hands folders, web and e-mail addresses and documents to the desktop's open action, optionally waiting.
#pragma once

#include <QString>

#include <functional>

// One launch request.
struct TLaunchShellAppData {
    quintptr Handle = 0;      // owner window, 0 = none (unused on this platform)
    QString Command;          // file, folder or address to open, or a program to run with Parameters
    QString WorkingDirectory; // empty = inherit
    QString Parameters;
    QString Verb; // as a rule "open"
    bool Wait = false;

    // Both set Handle to 0, WorkingDirectory to empty and Verb to "open".
    void Initialize(const QString &ACommand, const QString &AParams, bool AWait);
    void InitializeWithHandle(const QString &ACommand, const QString &AParams, bool AWait);
};

// Launch rules on this platform: the verb "open" (or none) with no parameters hands Command to "xdg-open";
// with parameters, Command is run as a program with them (split like a shell command line). Other verbs are
// refused. Waiting forms wait for the started process while processing pending events, so they belong on the
// user-interface thread; they stop waiting when the application is closing. Nothing here shows a message.
class TLaunchShellApp {
public:
    TLaunchShellApp() = delete;

    // Reported by the waiting forms when they stop waiting before the process has ended.
    static constexpr int StillRunningExitCode = 259;

    // Replaces the real launcher (null restores it), so tests and the user interface can intercept launches
    // without starting programs. The hook returns what Perform(Data) returns.
    static void SetLauncher(std::function<int(const TLaunchShellAppData &)> ALauncher);

    // Without Wait: 0 when the launch was accepted, -1 when refused. With Wait: the process's exit code, or
    // -1 when it could not be started (or crashed).
    static int Perform(const TLaunchShellAppData &AData);
    // Without Wait: true when accepted. With Wait: true when the process ended with exit code 0.
    static bool Perform(const QString &ACmdLine, const QString &AParams, const QString &AVerb, bool AWait);
    static bool Perform(quintptr AHandle, const QString &ACmdLine, const QString &AParams,
                        const QString &AVerb, bool AWait);
    // -1 when refused, else the exit code.
    static int PerformAndWait(const QString &ACmdLine, const QString &AParams, const QString &AVerb);
    static int PerformAndWait(quintptr AHandle, const QString &ACmdLine, const QString &AParams,
                              const QString &AVerb);

    // Empty on success, else the message to show. Launches nothing for a folder that does not exist.
    static QString OpenFolder(const QString &APath);
    static bool OpenBrowser(const QString &AUrl);
    // "mailto:" address with an optional subject; the body is accepted but not passed on.
    static bool OpenEmail(const QString &AAddress, const QString &ASubject, const QString &ABody);
};
