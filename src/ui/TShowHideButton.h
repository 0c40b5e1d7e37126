// The "●/A" button beside a password field that switches it between masked and plain display.
#pragma once

#include <QLineEdit>
#include <QPointer>
#include <QToolButton>

// Checked means the text is shown plainly; unchecked means masked.
class TShowHideButton : public QToolButton {
    Q_OBJECT
public:
    explicit TShowHideButton(QWidget *AParent = nullptr);
    TShowHideButton(QLineEdit *AEdit, QWidget *AParent);

    // The field this button controls; it is masked at once unless the button is checked.
    void SetEdit(QLineEdit *AEdit);
    QLineEdit *Edit() const { return FEdit; }
    bool IsMasked() const { return !isChecked(); }
    void SetMasked(bool AMasked) { setChecked(!AMasked); }

private:
    void Apply();
    QPointer<QLineEdit> FEdit;
};
