#include "TUiTestSupport.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>

QByteArray MakeTestPdf(int APages, const QString &AText) {
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setPageSize(QPageSize(QPageSize::A5));
        writer.setResolution(72);
        QPainter painter(&writer);
        for (int page = 0; page < APages; ++page) {
            if (page > 0)
                writer.newPage();
            painter.drawText(40, 60, QStringLiteral("%1 %2").arg(AText).arg(page + 1));
        }
    }
    return data;
}
