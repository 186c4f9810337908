#pragma once

#include <QWidget>

#include <memory>

namespace Ui {
class SendInfoWidget;
}

// The form for a report about an unsupported device: the user names the device, and the page can
// continue while the name is not empty.
class SendInfoWidget : public QWidget
{
    Q_OBJECT

public:
    explicit SendInfoWidget(QWidget *parent = nullptr);
    ~SendInfoWidget() override;

    QString deviceName() const;

Q_SIGNALS:
    void reportCanContinue(bool _bCanContinue);

private Q_SLOTS:
    void _textChanged(const QString &_strText);

private:
    std::unique_ptr<Ui::SendInfoWidget> m_ui;
};
