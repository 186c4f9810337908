#include "connectionsettingswidget.h"

#include "ui_connectionsettingswidget.h"

#include <QRegularExpressionValidator>

ConnectionSettingsWidget::ConnectionSettingsWidget(QWidget *parent)
    : QWidget(parent), m_ui(std::make_unique<Ui::ConnectionSettingsWidget>())
{
    m_ui->setupUi(this);
    m_ui->portEdit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,5}")), this));
    on_proxyCheck_stateChanged(m_ui->proxyCheck->checkState());
}

ConnectionSettingsWidget::~ConnectionSettingsWidget() = default;

void ConnectionSettingsWidget::load(const SettingsValues &values)
{
    m_ui->proxyCheck->setChecked(values.useProxy);
    on_proxyCheck_stateChanged(m_ui->proxyCheck->checkState());
    m_ui->addressEdit->setText(values.proxyAddress);
    m_ui->portEdit->setText(values.proxyPort);
}

void ConnectionSettingsWidget::save(SettingsValues &values) const
{
    values.useProxy = m_ui->proxyCheck->isChecked();
    values.proxyAddress = m_ui->addressEdit->text().trimmed();
    values.proxyPort = m_ui->portEdit->text().trimmed();
}

QLineEdit *ConnectionSettingsWidget::proxyEdit(SettingsProblem::Field field) const
{
    return field == SettingsProblem::ProxyPort ? m_ui->portEdit : m_ui->addressEdit;
}

void ConnectionSettingsWidget::on_proxyCheck_stateChanged(int _nState)
{
    const bool enabled = _nState == Qt::Checked;
    const QList<QWidget *> proxyWidgets = {m_ui->addressLabel, m_ui->addressEdit, m_ui->portLabel, m_ui->portEdit};
    for (QWidget *widget : proxyWidgets)
        widget->setEnabled(enabled);
}
