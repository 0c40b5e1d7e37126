// Support tool: encrypt, decrypt and show stored records.
#include "crypto/TzovCryptoStreamTool.h"
#include "crypto/TzovCryptoTool.h"
#include "data/TDOX_Base.h"

#include <QBuffer>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>


#include <cstdio>

namespace {

enum TExit { exOk = 0, exFailed = 1, exUsage = 2 };

QString Tr(const char *AText) {
    return QCoreApplication::translate("tavix-crypt", AText);
}

void PrintError(const QString &AMessage) {
    std::fprintf(stderr, "tavix-crypt: %s\n", qPrintable(AMessage));
}

// Opens an existing input file, saying why not when it cannot.
bool OpenInput(QFile &AFile) {
    if (!QFileInfo::exists(AFile.fileName())) {
        PrintError(Tr("File not found: %1").arg(AFile.fileName()));
        return false;
    }
    if (!AFile.open(QIODevice::ReadOnly)) {
        PrintError(Tr("Cannot open %1: %2").arg(AFile.fileName(), AFile.errorString()));
        return false;
    }
    return true;
}

// Decrypting anything else would only hand the bytes on unchanged, so say what the file is not.
bool CheckContainer(QFile &AFile) {
    const QByteArray magic = AFile.peek(4);
    if (magic != QByteArray("QzC1")) {
        PrintError(
            Tr("%1 is not an encrypted container (it does not start with \"QzC1\")").arg(AFile.fileName()));
        return false;
    }
    return true;
}

int Transform(bool AEncrypt, const QString &AIn, const QString &AOut, const QString &AStartCode) {
    QFile in(AIn);
    if (!OpenInput(in) || (!AEncrypt && !CheckContainer(in)))
        return exFailed;
    // Written to a temporary file and renamed at the end, so a failure never leaves half a file
    // (and the output may replace the input).
    QSaveFile out(AOut);
    if (!out.open(QIODevice::WriteOnly)) {
        PrintError(Tr("Cannot create %1: %2").arg(AOut, out.errorString()));
        return exFailed;
    }
    const bool ok = AEncrypt ? TzovCryptoStreamTool::Encrypt(&in, &out, AStartCode)
                             : TzovCryptoStreamTool::Decrypt(&in, &out, AStartCode);
    if (!ok) {
        out.cancelWriting();
        PrintError((AEncrypt ? Tr("Encrypting %1 failed") : Tr("Decrypting %1 failed")).arg(AIn));
        return exFailed;
    }
    if (!out.commit()) {
        PrintError(Tr("Cannot write %1: %2").arg(AOut, out.errorString()));
        return exFailed;
    }
    return exOk;
}

int Show(const QString &AFile, const QString &AStartCode) {
    QFile in(AFile);
    if (!OpenInput(in) || !CheckContainer(in))
        return exFailed;
    QByteArray plain;
    QBuffer out(&plain);
    out.open(QIODevice::WriteOnly);
    if (!TzovCryptoStreamTool::Decrypt(&in, &out, AStartCode)) {
        PrintError(Tr("Decrypting %1 failed").arg(AFile));
        return exFailed;
    }
    const QString pretty = TDOX_Base::XmlToPrettyFormat(QString::fromUtf8(plain));
    if (pretty.isEmpty()) {
        PrintError(Tr("The decrypted contents of %1 are not XML; is the start code right?").arg(AFile));
        return exFailed;
    }
    // The pretty form uses CR LF; a terminal wants plain line feeds.
    const QByteArray text = QString(pretty).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).toUtf8();
    std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
    return exOk;
}

} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tavix-crypt"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        Tr("Encrypts, decrypts and shows the encrypted records of the desktop client.\n\n"
           "Commands:\n"
           "  encrypt <in> <out>   write <in> as an encrypted container to <out>\n"
           "  decrypt <in> <out>   write the plain contents of the container <in> to <out>\n"
           "  show <file>          print the XML inside the container <file>, indented\n\n"
           "Without a start code option the configuration start code is used."));
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption startCodeOption(QStringLiteral("start-code"),
                                             Tr("Encrypt or decrypt under start code <code>."), Tr("code"));
    const QCommandLineOption networkOption(QStringLiteral("network"),
                                           Tr("Use the network start code (service bodies)."));
    parser.addOption(startCodeOption);
    parser.addOption(networkOption);
    parser.addPositionalArgument(QStringLiteral("command"), Tr("encrypt, decrypt or show"));
    parser.addPositionalArgument(QStringLiteral("files"), Tr("input and output files"), Tr("<in> [<out>]"));

    const auto usageError = [&](const QString &AMessage) {
        PrintError(AMessage);
        std::fprintf(stderr, "%s", qPrintable(Tr("Try 'tavix-crypt --help'.\n")));
        return int(exUsage);
    };

    if (!parser.parse(QCoreApplication::arguments()))
        return usageError(parser.errorText());
    if (parser.isSet(helpOption)) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        return exOk;
    }
    const QStringList args = parser.positionalArguments();
    if (args.isEmpty())
        return usageError(Tr("No command given."));
    const QString command = args.first();
    const int wanted = command == QLatin1String("show") ? 2 : 3;
    if (command != QLatin1String("encrypt") && command != QLatin1String("decrypt") &&
        command != QLatin1String("show"))
        return usageError(Tr("Unknown command \"%1\".").arg(command));
    if (args.size() != wanted)
        return usageError(wanted == 2 ? Tr("show takes one file.")
                                      : Tr("%1 takes an input and an output file.").arg(command));
    if (parser.isSet(startCodeOption) && parser.isSet(networkOption))
        return usageError(Tr("Give either --start-code or --network, not both."));

    QString startCode = TzovCryptoTool::ConfigurationStartCode();
    if (parser.isSet(networkOption))
        startCode = TzovCryptoTool::NetworkStartCode();
    else if (parser.isSet(startCodeOption))
        startCode = parser.value(startCodeOption);
    // The library passes data through unchanged under such a code; here that would only mislead.
    if (!TzovCryptoTool::IsValid_StartCode(TzovCryptoTool::NormalizeStartCode(startCode))) {
        PrintError(Tr("The start code \"%1\" does not resolve to a key; nothing was done.").arg(startCode));
        return exFailed;
    }

    if (command == QLatin1String("show"))
        return Show(args.at(1), startCode);
    return Transform(command == QLatin1String("encrypt"), args.at(1), args.at(2), startCode);
}
