#pragma once

#include "image/ParameterImage.h"
#include "image/VembaData.h"

#include <QByteArray>
#include <QFile>
#include <QtGlobal>

#include <initializer_list>
#include <utility>

// Bytes a test changes in the sample: address, new value.
using ImageChanges = std::initializer_list<std::pair<int, int>>;

// The factory configuration the program ships (templates/Default.b): a U-KOVA whose every field
// can be shown, with radio code 0000. Each test changes the bytes its case is about.
inline ImageBytes SampleImageBytes(ImageChanges changes = {}) {
  static const ImageBytes factory = [] {
    ImageBytes bytes{};
    QFile file(QStringLiteral(UKOVA_TEMPLATES_DIR "Default.b"));
    if (!file.open(QIODevice::ReadOnly) ||
        file.read(reinterpret_cast<char*>(bytes.data()), ImageSize) != ImageSize) {
      qFatal("the sample image %s cannot be read", qPrintable(file.fileName()));
    }
    return bytes;
  }();
  ImageBytes bytes = factory;
  for (const auto& [address, value] : changes) bytes[address] = static_cast<std::uint8_t>(value);
  return bytes;
}

// The sample as an image whose every cell carries the origin.
inline ParameterImage SampleImage(ImageOrigin origin, ImageChanges changes = {}) {
  ParameterImage image{};
  VembaData::LoadImageBytes(image, SampleImageBytes(changes), origin);
  return image;
}

// The sample as the content of a configuration file.
inline QByteArray SampleImageFile(ImageChanges changes = {}) {
  const ImageBytes bytes = SampleImageBytes(changes);
  return QByteArray(reinterpret_cast<const char*>(bytes.data()), ImageSize);
}
