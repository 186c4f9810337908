#pragma once

#include <QFrame>

#include <memory>

namespace Ui {
class WarningFrame;
}

// The warning box of the notice pages: a rounded, sand-coloured frame with the warning icon and a
// text in which links are active.
class WarningFrame : public QFrame
{
    Q_OBJECT

public:
    explicit WarningFrame(QWidget *parent = nullptr);
    ~WarningFrame() override;

    // Plain or rich text; line feeds break the line in both.
    void setText(const QString &text);
    QString text() const;

Q_SIGNALS:
    void linkActivated(const QString &_strLink);

protected:
    void showEvent(QShowEvent *event) override;

private:
    std::unique_ptr<Ui::WarningFrame> m_ui;
};
