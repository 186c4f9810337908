#pragma once

#include "deviceinfo.h"
#include "enums.h"

#include <QList>
#include <QWidget>

#include <memory>

namespace Ui {
class SelectDeviceWidget;
}

// The list of found devices, with the platform buttons for a device that is not listed. A device
// that is not connected properly is a platform entry: choosing it leads to the connection help of
// the platform recorded for its kind, not to the device itself.
class SelectDeviceWidget : public QWidget
{
    Q_OBJECT

public:
    explicit SelectDeviceWidget(QWidget *parent = nullptr);
    ~SelectDeviceWidget() override;

    // The index (DeviceInfo::index) of the selected device; -1 for a platform entry or no selection.
    int selectedDeviceIndex() const;
    bool isSelectedDeviceReadOnly() const;
    // The platform help recorded for the selected entry; 0 when none is recorded.
    PLATFORM_NAMES selectedPlatform() const;

Q_SIGNALS:
    void platformButtonClicked(PLATFORM_NAMES _platform);
    // Every entry the user selects, by its DeviceInfo::index.
    void deviceSelected(int _nIndex);

public Q_SLOTS:
    // Replaces the list; the first entry is selected.
    void addDevices(const QList<DeviceInfo> &_devices);

private:
    const DeviceInfo *selectedDevice() const;

    std::unique_ptr<Ui::SelectDeviceWidget> m_ui;
    QList<DeviceInfo> m_devices;
    QList<PLATFORM_NAMES> m_platforms;
};
