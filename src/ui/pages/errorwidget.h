#pragma once

#include <QWidget>

#include <memory>

namespace Ui {
class ErrorWidget;
}

// The error page, also used for notices: a warning frame with a text in which links are active.
class ErrorWidget : public QWidget
{
    Q_OBJECT

public:
    // A notice tells the user something on the way; only an error flags the taskbar entry.
    enum class Severity { Error, Notice };

    explicit ErrorWidget(QWidget *parent = nullptr);
    ~ErrorWidget() override;

    // Plain or rich text; line feeds break the line in both.
    void setText(const QString &text, Severity severity = Severity::Error);
    QString text() const;

Q_SIGNALS:
    void linkActivated(const QString &_strLink);
    // Emitted whenever an error is shown (the page appears with one, or gets one while visible), so that
    // the window can flag its taskbar entry.
    void errorHappened(WId _hWinId);

protected:
    void showEvent(QShowEvent *event) override;

private:
    std::unique_ptr<Ui::ErrorWidget> m_ui;
    Severity m_severity = Severity::Error;
};
