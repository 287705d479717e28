#include "link/TransferBlocks.h"

#include "image/FieldRules.h"
#include "image/ImageCodec.h"

const QStringList& ReadRequests() {
  static const QStringList requests = {QStringLiteral("0622"), QStringLiteral("0828"),
                                       QStringLiteral("0830"), QStringLiteral("0338")};
  return requests;
}

bool HoldsEveryRequestedByte(const ParameterImage& image) {
  for (const QString& request : ReadRequests()) {
    const int count = VembaData::HexPairValue(request.at(0), request.at(1));
    const int start = VembaData::HexPairValue(request.at(2), request.at(3));
    for (int address = start; address < start + count; ++address) {
      if (image[address].origin != OriginRead) return false;
    }
  }
  return true;
}

QStringList WriteBlocks(const ParameterImage& image, bool withRadioCode) {
  QStringList blocks;
  for (const ImageBlock& block : ConfigurationWriteBlocks())
    blocks << FormatImageSegment(image, block.count, block.start);
  if (withRadioCode)
    blocks << FormatImageSegment(image, RadioCodeBlock.count, RadioCodeBlock.start);
  return blocks;
}

QString RadioCodeBlockText(const QString& code) {
  return VembaData::ByteToHex(RadioCodeBlock.count) + VembaData::ByteToHex(RadioCodeBlock.start) +
         RadioCodeAsSent(code);
}

ImageBytes WrittenOver(const ImageBytes& before, const ParameterImage& sent, const QString& code) {
  ImageBytes bytes = before;
  for (const ImageBlock& block : ConfigurationWriteBlocks()) {
    for (int address = block.start; address < block.start + block.count; ++address)
      bytes[address] = sent[address].value;
  }
  VembaData::HexTextToBytes(code, bytes[RadioCodeBlock.start], bytes[RadioCodeBlock.start + 1]);
  return bytes;
}

ImageBytes KeptBytes(const ParameterImage& image, const QString& code) {
  ImageBytes bytes = VembaData::ExtractImageBytes(image);
  VembaData::HexTextToBytes(code, bytes[RadioCodeBlock.start], bytes[RadioCodeBlock.start + 1]);
  return bytes;
}
