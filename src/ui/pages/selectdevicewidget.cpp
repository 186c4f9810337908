#include "selectdevicewidget.h"

#include "singlechoicelist.h"
#include "storagetext.h"
#include "ui_selectdevicewidget.h"

namespace {

// The connection help that belongs to a device of this kind when it is not connected properly.
PLATFORM_NAMES platformOfKind(int kind)
{
    switch (kind) {
    case DeviceInfo::ActiveSync:
        return PN_WINDOWS_MOBILE;
    case DeviceInfo::Storage:
        return PN_PND;
    case DeviceInfo::Symbian:
        return PN_SYMBIAN;
    case DeviceInfo::Android:
        return PN_ANDROID;
    default:
        return PLATFORM_NAMES(0);
    }
}

// The device's entry: its name with the remark, then a line for each of its storages.
QString entryText(const DeviceInfo &device)
{
    DeviceInfo shown = device;
    if (!device.title.isEmpty())
        shown.name = device.title;
    QString text = shown.listText();
    for (const StorageInfo &storage : device.storages)
        text += QStringLiteral("\n    ") + storageText(storage);
    return text;
}

} // namespace

SelectDeviceWidget::SelectDeviceWidget(QWidget *parent)
    : QWidget(parent), m_ui(std::make_unique<Ui::SelectDeviceWidget>())
{
    m_ui->setupUi(this);
    new SingleChoiceList(m_ui->devicesList);
    connect(m_ui->platformButtons, &PlatformButtonsWidget::platformButtonClicked, this,
            &SelectDeviceWidget::platformButtonClicked);
    connect(m_ui->devicesList, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0 && row < m_devices.size())
            emit deviceSelected(m_devices.at(row).index);
    });
}

SelectDeviceWidget::~SelectDeviceWidget() = default;

int SelectDeviceWidget::selectedDeviceIndex() const
{
    const DeviceInfo *device = selectedDevice();
    return device && device->isConnectedProperly ? device->index : -1;
}

bool SelectDeviceWidget::isSelectedDeviceReadOnly() const
{
    const DeviceInfo *device = selectedDevice();
    return device && device->isReadOnly;
}

PLATFORM_NAMES SelectDeviceWidget::selectedPlatform() const
{
    const int row = m_ui->devicesList->currentRow();
    return row >= 0 && row < m_platforms.size() ? m_platforms.at(row) : PLATFORM_NAMES(0);
}

void SelectDeviceWidget::addDevices(const QList<DeviceInfo> &_devices)
{
    m_ui->devicesList->clear();
    m_devices = _devices;
    m_platforms.clear();
    for (const DeviceInfo &device : _devices) {
        m_ui->devicesList->addItem(entryText(device));
        m_platforms.append(device.isConnectedProperly ? PLATFORM_NAMES(0) : platformOfKind(device.kind));
    }
    m_ui->devicesList->setCurrentRow(_devices.isEmpty() ? -1 : 0);
}

const DeviceInfo *SelectDeviceWidget::selectedDevice() const
{
    const int row = m_ui->devicesList->currentRow();
    return row >= 0 && row < m_devices.size() ? &m_devices.at(row) : nullptr;
}
