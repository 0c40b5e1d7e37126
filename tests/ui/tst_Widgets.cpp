// The small shared widgets: password show/hide button, branding strip, busy indicator.
#include "ui/TBrandingStrip.h"
#include "ui/TBusyIndicator.h"
#include "ui/TShowHideButton.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

class tst_Widgets : public QObject {
    Q_OBJECT
private slots:
    void showHideButtonToggles();
    void brandingStripVisibility_data();
    void brandingStripVisibility();
    void busyIndicatorStartsAndStops();
};

void tst_Widgets::showHideButtonToggles() {
    QWidget form;
    auto *edit = new QLineEdit(&form);
    edit->setEchoMode(QLineEdit::Normal);
    auto *button = new TShowHideButton(edit, &form);
    form.show();

    QCOMPARE(button->text(), QStringLiteral("●/A"));
    // Attaching masks a field that was plain.
    QVERIFY(button->IsMasked());
    QCOMPARE(edit->echoMode(), QLineEdit::Password);

    QTest::mouseClick(button, Qt::LeftButton);
    QVERIFY(!button->IsMasked());
    QCOMPARE(edit->echoMode(), QLineEdit::Normal);
    QTest::mouseClick(button, Qt::LeftButton);
    QVERIFY(button->IsMasked());
    QCOMPARE(edit->echoMode(), QLineEdit::Password);

    // Another field: it follows the button's current state; the first is left alone.
    auto *other = new QLineEdit(&form);
    button->SetMasked(false);
    button->SetEdit(other);
    QCOMPARE(other->echoMode(), QLineEdit::Normal);
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(other->echoMode(), QLineEdit::Password);
    QCOMPARE(edit->echoMode(), QLineEdit::Normal);

    // The field going away first must not leave the button with a dangling pointer.
    delete other;
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(button->Edit(), nullptr);
}

void tst_Widgets::brandingStripVisibility_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("visible");
    QTest::newRow("text") << "Northfield College" << true;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("blanks only") << "   " << false;
}

void tst_Widgets::brandingStripVisibility() {
    QFETCH(QString, text);
    QFETCH(bool, visible);
    QWidget form;
    auto *strip = new TBrandingStrip(&form);
    form.show();
    QVERIFY(!strip->isVisible());

    strip->SetStrip(QColor(0x11, 0x22, 0x33), QColor(Qt::white), QColor(Qt::yellow), text);
    QCOMPARE(strip->isVisible(), visible);
    QCOMPARE(strip->IsConfigured(), visible);
    if (visible) {
        auto *label = strip->findChild<QLabel *>(QStringLiteral("lblBrand"));
        QVERIFY(label);
        QCOMPARE(label->text(), text);
        QCOMPARE(label->palette().color(QPalette::WindowText), QColor(Qt::yellow));
        QCOMPARE(strip->FillColor(), QColor(0x11, 0x22, 0x33));
    }

    QImage image(40, 10, QImage::Format_RGB32);
    image.fill(Qt::red);
    strip->SetBanner(image, QColor(Qt::black));
    QVERIFY(strip->isVisible());
    QVERIFY(strip->Text().isEmpty());
    strip->Clear();
    QVERIFY(!strip->isVisible());
    strip->SetBanner(QPixmap());
    QVERIFY(!strip->isVisible());
}

void tst_Widgets::busyIndicatorStartsAndStops() {
    QWidget form;
    auto *busy = new TBusyIndicator(&form);
    form.show();
    QVERIFY(!busy->IsBusy());
    QVERIFY(!busy->isVisible());
    busy->Start();
    QVERIFY(busy->IsBusy());
    QVERIFY(busy->isVisible());
    busy->SetBusy(false);
    QVERIFY(!busy->IsBusy());
    QVERIFY(!busy->isVisible());

    busy->SetHideWhenStopped(false);
    busy->SetBusy(true);
    busy->Stop();
    QVERIFY(!busy->IsBusy());
    QVERIFY(busy->isVisible());
}

QTEST_MAIN(tst_Widgets)
#include "tst_Widgets.moc"
