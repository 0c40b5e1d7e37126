#include "TServiceHttp.h"

void TServiceHttp::Refuse(httplib::Response &ARes, int AStatus, const QString &AReason) {
    ARes.status = AStatus;
    // Header values must stay on one line.
    QString OneLine = AReason;
    OneLine.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    ARes.reason = OneLine.toStdString();
    ARes.set_header(ReasonHeader, OneLine.toStdString());
    ARes.set_content((OneLine + QLatin1Char('\n')).toStdString(), "text/plain; charset=utf-8");
}

void TServiceHttp::SendBytes(httplib::Response &ARes, const QByteArray &ABytes, const char *AContentType) {
    ARes.status = 200;
    ARes.set_content(ABytes.constData(), size_t(ABytes.size()), AContentType);
}

void TServiceHttp::SendJSON(httplib::Response &ARes, int AStatus, const QByteArray &AJSON) {
    ARes.status = AStatus;
    ARes.set_content(AJSON.constData(), size_t(AJSON.size()), "application/json");
}

QMap<QString, QString> TServiceHttp::ParseForm(const std::string &ABody) {
    QMap<QString, QString> Result;
    const QByteArray Body = QByteArray::fromStdString(ABody);
    for (const QByteArray &Pair : Body.split('&')) {
        if (Pair.isEmpty())
            continue;
        const int Eq = Pair.indexOf('=');
        QByteArray Name = Eq < 0 ? Pair : Pair.left(Eq);
        QByteArray Value = Eq < 0 ? QByteArray() : Pair.mid(Eq + 1);
        Name.replace('+', ' ');
        Value.replace('+', ' ');
        Result.insert(QString::fromUtf8(QByteArray::fromPercentEncoding(Name)),
                      QString::fromUtf8(QByteArray::fromPercentEncoding(Value)));
    }
    return Result;
}

bool TServiceHttp::BasicUser(const httplib::Request &AReq, QString &AUser) {
    AUser.clear();
    if (!AReq.has_header("Authorization"))
        return false;
    const QByteArray Value = QByteArray::fromStdString(AReq.get_header_value("Authorization")).trimmed();
    if (!Value.startsWith("Basic ") && !Value.startsWith("basic "))
        return false;
    const auto Decoded = QByteArray::fromBase64Encoding(Value.mid(6).trimmed(), QByteArray::AbortOnBase64DecodingErrors);
    if (!Decoded)
        return false;
    const int Colon = Decoded.decoded.indexOf(':');
    AUser = QString::fromUtf8(Colon < 0 ? Decoded.decoded : Decoded.decoded.left(Colon));
    return true;
}

QString TServiceHttp::PathValue(const httplib::Request &AReq, int AIndex) {
    if (AIndex < 0 || size_t(AIndex) >= AReq.matches.size())
        return QString();
    return QString::fromUtf8(QByteArray::fromPercentEncoding(QByteArray::fromStdString(AReq.matches[AIndex].str())));
}
