#pragma once

#include "link/opu/SerialOpuDriver.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// A sysfs tree as the kernel shows USB-serial adapters and a built-in serial port, with device
// nodes that lead wherever the test says.
class FakeSysfs {
 public:
  FakeSysfs() {
    places.sysfsRoot = folder_.filePath("sys");
    places.devRoot = folder_.filePath("dev");
    QDir().mkpath(places.devRoot);
  }

  void AddUsbPort(const QString& tty, const QString& usbDevice, const QByteArray& product) {
    const QString device = "devices/pci0000:00/usb1/" + usbDevice;
    Write(device + "/idVendor", "0403\n");
    Write(device + "/product", product);
    // The interface folder sits between the tty and the USB device, without idVendor.
    Link(tty, device + "/" + usbDevice + ":1.0/" + tty);
  }

  void AddBuiltInPort(const QString& tty) { Link(tty, "devices/platform/serial8250/" + tty); }

  void AddNode(const QString& tty, const QString& target) {
    QFile::link(target, places.devRoot + "/" + tty);
  }

  SerialPortPlaces places;

 private:
  void Write(const QString& relative, const QByteArray& content) {
    const QString path = places.sysfsRoot + "/" + relative;
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
  }

  void Link(const QString& tty, const QString& deviceFolder) {
    QDir().mkpath(places.sysfsRoot + "/" + deviceFolder);
    const QString classFolder = places.sysfsRoot + "/class/tty/" + tty;
    QDir().mkpath(classFolder);
    QFile::link(places.sysfsRoot + "/" + deviceFolder, classFolder + "/device");
  }

  QTemporaryDir folder_;
};
