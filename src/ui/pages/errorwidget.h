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
    explicit ErrorWidget(QWidget *parent = nullptr);
    ~ErrorWidget() override;

    // Plain or rich text; line feeds break the line in both.
    void setText(const QString &text);
    QString text() const;

Q_SIGNALS:
    void linkActivated(const QString &_strLink);
    // Emitted whenever the page is shown, so that the window can flag its taskbar entry.
    void errorHappened(WId _hWinId);

protected:
    void showEvent(QShowEvent *event) override;

private:
    std::unique_ptr<Ui::ErrorWidget> m_ui;
};
