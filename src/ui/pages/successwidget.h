#pragma once

#include <QWidget>

#include <memory>

namespace Ui {
class SuccessWidget;
}

// The success page: the success icon and a green text, "Installation is finished!" until the
// window sets another.
class SuccessWidget : public QWidget
{
    Q_OBJECT

public:
    explicit SuccessWidget(QWidget *parent = nullptr);
    ~SuccessWidget() override;

    // Plain or rich text; line feeds break the line in both.
    void setText(const QString &text);
    QString text() const;

protected:
    void showEvent(QShowEvent *event) override;

private:
    std::unique_ptr<Ui::SuccessWidget> m_ui;
};
