#pragma once

#include "settingsvalues.h"

#include <QWidget>

#include <memory>

class QLineEdit;
namespace Ui {
class ConnectionSettingsWidget;
}

// The proxy settings: whether to use a proxy server, and its address and port, which can be edited
// only while the proxy is switched on and keep their texts while it is off.
class ConnectionSettingsWidget : public QWidget
{
    Q_OBJECT

public:
    explicit ConnectionSettingsWidget(QWidget *parent = nullptr);
    ~ConnectionSettingsWidget() override;

    void load(const SettingsValues &values);
    void save(SettingsValues &values) const;
    QLineEdit *proxyEdit(SettingsProblem::Field field) const;

private Q_SLOTS:
    void on_proxyCheck_stateChanged(int _nState);

private:
    std::unique_ptr<Ui::ConnectionSettingsWidget> m_ui;
};
