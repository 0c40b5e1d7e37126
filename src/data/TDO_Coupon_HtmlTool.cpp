#include "data/TDO_Coupon_HtmlTool.h"

#include "TavixDeployment.h"

#include <QCoreApplication>
#include <QRegularExpression>

namespace {

QString Tr(const char *AText) {
    return QCoreApplication::translate("TDO_Coupon_HtmlTool", AText);
}

QString SvgDataUrl(const char *ASvg) {
    return QStringLiteral("data:image/svg+xml;base64,") + QString::fromLatin1(QByteArray(ASvg).toBase64());
}

// Header band: slanted light stripes on transparency, so the cell's near-black shows through.
const char *const KBandSvg =
    "<svg xmlns='http://www.w3.org/2000/svg' width='252' height='156' viewBox='0 0 252 156'>"
    "<path d='M60 156 L168 0 L190 0 L82 156 Z' fill='#38bdf8' fill-opacity='0.14'/>"
    "<path d='M120 156 L228 0 L252 0 L252 24 L160 156 Z' fill='#38bdf8' fill-opacity='0.32'/>"
    "<path d='M178 156 L252 48 L252 156 Z' fill='#6366f1' fill-opacity='0.5'/>"
    "</svg>";
const char *const KBandRightSvg =
    "<svg xmlns='http://www.w3.org/2000/svg' width='252' height='156' viewBox='0 0 252 156'>"
    "<g transform='translate(252 0) scale(-1 1)'>"
    "<path d='M60 156 L168 0 L190 0 L82 156 Z' fill='#38bdf8' fill-opacity='0.14'/>"
    "<path d='M120 156 L228 0 L252 0 L252 24 L160 156 Z' fill='#38bdf8' fill-opacity='0.32'/>"
    "<path d='M178 156 L252 48 L252 156 Z' fill='#6366f1' fill-opacity='0.5'/>"
    "</g></svg>";
// Round brand badge with a check mark.
const char *const KBadgeSvg =
    "<svg xmlns='http://www.w3.org/2000/svg' width='96' height='156' viewBox='0 0 96 156'>"
    "<defs><linearGradient id='b' x1='0' y1='0' x2='1' y2='1'>"
    "<stop offset='0' stop-color='#38bdf8'/><stop offset='1' stop-color='#6366f1'/></linearGradient></defs>"
    "<circle cx='48' cy='78' r='40' fill='url(#b)'/>"
    "<circle cx='48' cy='78' r='33' fill='none' stroke='#ffffff' stroke-opacity='0.6' stroke-width='2'/>"
    "<path d='M32 79 L43 90 L64 67' fill='none' stroke='#ffffff' stroke-width='6' stroke-linecap='round' "
    "stroke-linejoin='round'/>"
    "</svg>";

} // namespace

TDO_Coupon_HtmlTool::TDO_Coupon_HtmlTool()
    : FTemplate_CreateEvent(Template(TProductID::pidCreateEvent, false)),
      FTemplate_UploadFile(Template(TProductID::pidUploadFile, false)) {}

QString TDO_Coupon_HtmlTool::Template(TProductID AProductID, bool AEvalMode) {
    QStringList SL;
    const QString savedFrom = QString::fromUtf8(TavixDeployment::receipt_saved_from_url);
    const QString forum = QString::fromUtf8(TavixDeployment::support_forum_address).toHtmlEscaped();

    SL << QStringLiteral("<!DOCTYPE html>");
    SL << QStringLiteral("<!-- saved from url=(%1)%2 -->")
              .arg(savedFrom.size(), 4, 10, QLatin1Char('0'))
              .arg(savedFrom);
    SL << QStringLiteral("<html lang=\"en\"><head>");
    SL << QStringLiteral("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\">");
    SL << QStringLiteral("<title>Your Quenmark receipt</title>");
    SL << QStringLiteral("<meta name=\"viewport\" content=\"width=device-width\">");
    SL << QStringLiteral("<meta name=\"robots\" content=\"noindex, nofollow\">");
    SL << QStringLiteral("<style type=\"text/css\">");
    SL << QStringLiteral("body { margin: 0; padding: 0; background-color: #f1f5f9; }");
    SL << QStringLiteral("body, td { font-family: -apple-system, BlinkMacSystemFont, \"Segoe UI\", Roboto, "
                         "\"Helvetica Neue\", Ubuntu, Arial, sans-serif; font-size: 15px; line-height: 24px; "
                         "color: #414552; }");
    SL << QStringLiteral(".wrapper { width: 600px; margin: 0 auto; }");
    SL << QStringLiteral(
        ".card { background-color: #ffffff; border-radius: 12px; overflow: hidden; "
        "box-shadow: 0 7px 14px 0 rgba(50, 50, 93, 0.10), 0 3px 6px 0 rgba(0, 0, 0, 0.07); }");
    SL << QStringLiteral(
        ".header td { background-color: #0d0d0d; height: 156px; padding: 0; line-height: 0; }");
    SL << QStringLiteral(".header img { display: block; border: 0; }");
    SL << QStringLiteral(".section { background-color: #ffffff; }");
    SL << QStringLiteral(".content { width: 472px; margin: 0 auto; }");
    SL << QStringLiteral(".title { text-align: center; font-size: 24px; line-height: 32px; font-weight: 600; "
                         "color: #1a1f36; padding: 32px 0 8px 0; }");
    SL << QStringLiteral(
        ".subtitle { text-align: center; font-size: 15px; color: #697386; padding: 0 0 24px 0; "
        "word-break: break-all; }");
    SL << QStringLiteral(".heading { font-size: 11px; line-height: 16px; font-weight: bold; "
                         "text-transform: uppercase; letter-spacing: 0.5px; color: #8792a2; }");
    SL << QStringLiteral(".col { width: 50%; vertical-align: top; padding: 0 0 20px 0; }");
    SL << QStringLiteral(".caption { padding: 12px 0 8px 0; }");
    SL << QStringLiteral(".summary { background-color: #f6f9fc; border-radius: 8px; }");
    SL << QStringLiteral(".item { padding: 16px 20px; color: #1a1f36; word-break: break-word; }");
    SL << QStringLiteral("hr { width: 78%; border: 0; border-top: 1px solid #e6ebf1; margin: 28px auto; }");
    SL << QStringLiteral(
        ".footnote { font-size: 13px; line-height: 20px; color: #8792a2; padding: 0 0 32px 0; }");
    SL << QStringLiteral(".footnote a { color: #635bff; text-decoration: none; }");
    SL << QStringLiteral("</style>");
    SL << QStringLiteral("</head>");
    SL << QStringLiteral("<body style=\"background-color:#f1f5f9;\">");
    SL << QStringLiteral(
        "<table class=\"wrapper\" width=\"600\" align=\"center\" border=\"0\" cellpadding=\"0\" "
        "cellspacing=\"0\" style=\"margin: 32px auto;\"><tr><td class=\"card\">");
    SL << QStringLiteral("<table width=\"600\" border=\"0\" cellpadding=\"0\" cellspacing=\"0\">");
    SL << QStringLiteral("<tr class=\"header\">");
    SL << QStringLiteral(
              "<td width=\"252\" height=\"156\"><img src=\"%1\" width=\"252\" height=\"156\" alt=\"\"></td>")
              .arg(SvgDataUrl(KBandSvg));
    SL << QStringLiteral("<td width=\"96\" height=\"156\"><img src=\"%1\" width=\"96\" height=\"156\" "
                         "alt=\"Quenmark\"></td>")
              .arg(SvgDataUrl(KBadgeSvg));
    SL << QStringLiteral(
              "<td width=\"252\" height=\"156\"><img src=\"%1\" width=\"252\" height=\"156\" alt=\"\"></td>")
              .arg(SvgDataUrl(KBandRightSvg));
    SL << QStringLiteral("</tr>");
    SL << QStringLiteral("</table>");
    SL << QStringLiteral(
        "<table class=\"section\" width=\"600\" border=\"0\" cellpadding=\"0\" cellspacing=\"0\">");
    SL << QStringLiteral("<tr><td class=\"title\">%1</td></tr>").arg(Tr("Receipt from Quenmark"));
    SL << QStringLiteral("<tr><td class=\"subtitle\">{{TRANSACTION_ID}}</td></tr>");
    SL << QStringLiteral("</table>");
    SL << QStringLiteral("<table class=\"section content\" width=\"472\" align=\"center\" border=\"0\" "
                         "cellpadding=\"0\" cellspacing=\"0\"><tr>");
    SL << QStringLiteral("<td class=\"col\"><span class=\"heading\">%1</span><br>{{PAYMENT_DATE}}</td>")
              .arg(Tr("Date Time"));
    SL << QStringLiteral("<td class=\"col\"><span class=\"heading\">%1</span><br>{{PAYMENT_METHOD}}</td>")
              .arg(Tr("Payment Method"));
    SL << QStringLiteral("</tr></table>");
    SL << QStringLiteral("<table class=\"section content\" width=\"472\" align=\"center\" border=\"0\" "
                         "cellpadding=\"0\" cellspacing=\"0\">");
    SL << QStringLiteral("<tr><td class=\"heading caption\">%1</td></tr>").arg(Tr("Summary"));
    SL << QStringLiteral("</table>");
    SL << QStringLiteral("<table class=\"summary content\" width=\"472\" align=\"center\" border=\"0\" "
                         "cellpadding=\"0\" cellspacing=\"0\" style=\"background-color:#f6f9fc;\">");
    SL << QStringLiteral("<!-- item -->");
    SL << QStringLiteral("<tr><td class=\"item\">");
    SL << QStringLiteral("{{DESCRIPTION}}");
    SL << QStringLiteral("<br>Event Name: {{EVENT_NAME}}");
    SL << QStringLiteral("<br>Event Code: {{EVENT_CODE}}");
    if (AProductID == TProductID::pidCreateEvent) {
        SL << QStringLiteral("<br>Password:          {{PASSWORD}}");
        SL << QStringLiteral("<br>Accommodation PIN: {{ACCOMMODATION_PIN}}");
    } else if (AProductID == TProductID::pidUploadFile) {
        SL << QStringLiteral("<br>Exam ID:    {{EXAMINEE_ID}}");
        SL << QStringLiteral("<br>File:       {{FILE_INFO}}");
        SL << QStringLiteral("<br>Received:   {{UPLOADED}}");
    }
    SL << QString();
    if (AEvalMode)
        SL << QStringLiteral("<br>EVALUATION MODE UPLOAD");
    SL << QStringLiteral("</td></tr>");
    SL << QStringLiteral("<!-- /item -->");
    SL << QStringLiteral("</table>");
    SL << QStringLiteral(
        "<table class=\"section\" width=\"600\" border=\"0\" cellpadding=\"0\" cellspacing=\"0\">"
        "<tr><td><hr></td></tr></table>");
    SL << QStringLiteral("<table class=\"section content\" width=\"472\" align=\"center\" border=\"0\" "
                         "cellpadding=\"0\" cellspacing=\"0\">");
    SL << QStringLiteral("<tr><td class=\"footnote\">%1<a href=\"%2\" target=\"_blank\" "
                         "rel=\"noopener\">%2</a></td></tr>")
              .arg(Tr("If you have any questions, visit our support forum at "), forum);
    SL << QStringLiteral("</table>");
    SL << QStringLiteral("</td></tr></table>");
    SL << QStringLiteral("</body></html>");

    QString result;
    for (const QString &line : SL)
        result += line + QStringLiteral("\r\n");
    return result;
}

QString TDO_Coupon_HtmlTool::TransactionHtml(const QString &ATransToken) {
    // Split on the raw ";" before escaping: escaping itself produces ";" (as in "&amp;").
    const qsizetype p = ATransToken.indexOf(u';');
    if (p < 0)
        return ATransToken.toHtmlEscaped();
    return ATransToken.left(p).toHtmlEscaped() + QStringLiteral("<br>") +
           ATransToken.mid(p + 1).toHtmlEscaped();
}

QString TDO_Coupon_HtmlTool::Fill(const QString &ATemplate, const QHash<QString, QString> &AValues) {
    static const QRegularExpression KPlaceholder(QStringLiteral("\\{\\{([A-Za-z_]+)\\}\\}"));
    QString out;
    out.reserve(ATemplate.size() + 512);
    qsizetype last = 0;
    for (auto it = KPlaceholder.globalMatch(ATemplate); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const auto v = AValues.constFind(m.captured(1).toUpper());
        if (v == AValues.constEnd())
            continue;
        out += QStringView(ATemplate).mid(last, m.capturedStart() - last);
        out += v.value();
        last = m.capturedEnd();
    }
    out += QStringView(ATemplate).mid(last);
    return out;
}

QStringList TDO_Coupon_HtmlTool::ReceiptFor_CreateEvent(const QString &ATransToken,
                                                        const QString &ACreatedUTC, const QString &AEventName,
                                                        const QString &AEventCode, const QString &APassword,
                                                        const QString &AAccommPIN) const {
    const QHash<QString, QString> values{
        {QStringLiteral("PAYMENT_DATE"), ACreatedUTC.toHtmlEscaped()},
        {QStringLiteral("TRANSACTION_ID"), TransactionHtml(ATransToken)},
        {QStringLiteral("PAYMENT_METHOD"), Tr("Coupon").toHtmlEscaped()},
        {QStringLiteral("DESCRIPTION"),
         ProductID_DefaultDescription(TProductID::pidCreateEvent).toHtmlEscaped()},
        {QStringLiteral("EVENT_NAME"), AEventName.toHtmlEscaped()},
        {QStringLiteral("EVENT_CODE"), AEventCode.toHtmlEscaped()},
        {QStringLiteral("PASSWORD"), APassword.toHtmlEscaped()},
        {QStringLiteral("ACCOMMODATION_PIN"), AAccommPIN.toHtmlEscaped()},
    };
    return {Fill(FTemplate_CreateEvent, values)};
}

QStringList TDO_Coupon_HtmlTool::ReceiptFor_UploadFile(const QString &ATransToken, const QString &ACreatedUTC,
                                                       const QString &AEventName, const QString &AEventCode,
                                                       const QString &AExamineeID, const QString &AFileInfo,
                                                       const QString &AUploaded) const {
    const QHash<QString, QString> values{
        {QStringLiteral("PAYMENT_DATE"), ACreatedUTC.toHtmlEscaped()},
        {QStringLiteral("TRANSACTION_ID"), TransactionHtml(ATransToken)},
        {QStringLiteral("PAYMENT_METHOD"), Tr("Coupon").toHtmlEscaped()},
        {QStringLiteral("DESCRIPTION"),
         ProductID_DefaultDescription(TProductID::pidUploadFile).toHtmlEscaped()},
        {QStringLiteral("EVENT_NAME"), AEventName.toHtmlEscaped()},
        {QStringLiteral("EVENT_CODE"), AEventCode.toHtmlEscaped()},
        {QStringLiteral("EXAMINEE_ID"), AExamineeID.toHtmlEscaped()},
        {QStringLiteral("FILE_INFO"), AFileInfo.toHtmlEscaped()},
        {QStringLiteral("UPLOADED"), AUploaded.toHtmlEscaped()},
    };
    return {Fill(FTemplate_UploadFile, values)};
}
