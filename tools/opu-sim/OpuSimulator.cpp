#include "tools/opu-sim/OpuSimulator.h"

#include "link/opu/OpuFrame.h"

#include <algorithm>
#include <array>

namespace {

constexpr char NAK = 0x15;

int HexByteAt(const QByteArray& text, int index) {
  return VembaData::HexPairValue(QChar::fromLatin1(text.at(index)),
                                 QChar::fromLatin1(text.at(index + 1)));
}

bool IsHexText(const QByteArray& text) {
  return std::all_of(text.begin(), text.end(), [](char character) {
    return VembaData::IsHexDigit(QChar::fromLatin1(character));
  });
}

// A transmitter with radio code 1A2B and these settings at 0x22-0x3A (product type 7 at 0x2E).
ImageBytes TransmitterWith(const std::array<std::uint8_t, 25>& settings) {
  ImageBytes image{};
  image[RadioCodeAddress] = 0x1A;
  image[RadioCodeAddress + 1] = 0x2B;
  std::copy(settings.begin(), settings.end(), image.begin() + 0x22);
  return image;
}

}  // namespace

OpuSimulator::OpuSimulator() : memory_(FactoryImage()) {}

ImageBytes OpuSimulator::FactoryImage() {
  // Made 15 June 2025; 2 button presses and 44 transmissions since.
  return TransmitterWith({0x25, 0x06, 0x15, 0x00, 0x00, 0x09, 0x13, 0x00, 0x00,
                          0x02, 0x18, 0x0B, 0x07, 0x12, 0x05, 0x0A, 0x00, 0x33,
                          0x00, 0x90, 0x01, 0x18, 0x00, 0x2C, 0x03});
}

ImageBytes OpuSimulator::OutOfRangeImage() {
  return TransmitterWith({0x01, 0x02, 0x00, 0x3C, 0x05, 0x0A, 0x00, 0x00, 0x1E,
                          0x00, 0x00, 0x00, 0x07, 0x00, 0x00, 0x10, 0x00, 0x0C,
                          0x00, 0x00, 0x18, 0x01, 0x00, 0x00, 0x00});
}

void OpuSimulator::SetFaults(const OpuSimFaults& faults) {
  const std::lock_guard lock(mutex_);
  faults_ = faults;
  hangUpCandidates_ = 0;
}

OpuSimFaults OpuSimulator::Faults() const {
  const std::lock_guard lock(mutex_);
  return faults_;
}

void OpuSimulator::SetButtonDelay(int milliseconds) {
  const std::lock_guard lock(mutex_);
  buttonDelayMs_ = milliseconds;
}

void OpuSimulator::PressButton() {
  const std::lock_guard lock(mutex_);
  buttonPressed_ = true;
}

void OpuSimulator::SetMemory(const ImageBytes& memory) {
  const std::lock_guard lock(mutex_);
  memory_ = memory;
}

ImageBytes OpuSimulator::Memory() const {
  const std::lock_guard lock(mutex_);
  return memory_;
}

void OpuSimulator::SetRadioCode(const QString& code) {
  const std::lock_guard lock(mutex_);
  VembaData::HexTextToBytes(code, memory_[RadioCodeAddress], memory_[RadioCodeAddress + 1]);
}

QString OpuSimulator::RadioCode() const {
  const std::lock_guard lock(mutex_);
  return RadioCodeLocked();
}

QString OpuSimulator::RadioCodeLocked() const {
  return VembaData::BytesToHexText(memory_[RadioCodeAddress], memory_[RadioCodeAddress + 1]);
}

void OpuSimulator::QueuePendants(const std::vector<ImageBytes>& pendants) {
  const std::lock_guard lock(mutex_);
  waitingPendants_.insert(waitingPendants_.end(), pendants.begin(), pendants.end());
}

ImageBytes OpuSimulator::NewPendant(int number) {
  ImageBytes image = FactoryImage();
  const int code = 0x7000 + number;
  image[RadioCodeAddress] = static_cast<std::uint8_t>(code >> 8);
  image[RadioCodeAddress + 1] = static_cast<std::uint8_t>(code & 0xFF);
  return image;
}

std::vector<ImageBytes> OpuSimulator::Pendants() const {
  const std::lock_guard lock(mutex_);
  std::vector<ImageBytes> pendants = donePendants_;
  pendants.push_back(memory_);
  return pendants;
}

void OpuSimulator::PresentNextPendant() {
  if (!written_ || waitingPendants_.empty()) return;
  donePendants_.push_back(memory_);
  memory_ = waitingPendants_.front();
  waitingPendants_.erase(waitingPendants_.begin());
  written_ = false;
}

QStringList OpuSimulator::Commands() const {
  const std::lock_guard lock(mutex_);
  return commands_;
}

void OpuSimulator::ClearCommands() {
  const std::lock_guard lock(mutex_);
  commands_.clear();
}

OpuSimReply OpuSimulator::Answer(const QByteArray& command) {
  const std::lock_guard lock(mutex_);
  commands_.append(QString::fromLatin1(command));
  const char letter = command.isEmpty() ? '\0' : command.front();
  if (faults_.hangUpOn.contains(QLatin1Char(letter)) &&
      hangUpCandidates_++ >= faults_.hangUpAfter) {
    return OpuSimReply{{}, true};
  }
  // A command the OPU did not take in changes nothing.
  if (faults_.silentCommands.contains(QLatin1Char(letter))) return {};
  if (faults_.silentBlocks && letter == 'n' && command.size() > 1) return {};
  OpuSimReply reply = Shape(AnswerBytes(command));
  reply.portGone = faults_.portGoneAfter.contains(QLatin1Char(letter));
  return reply;
}

QByteArray OpuSimulator::AnswerBytes(const QByteArray& command) {
  const QByteArray argument = command.mid(1);
  switch (command.isEmpty() ? '\0' : command.front()) {
    case 'v':
      return Frame(faults_.version.toLatin1());
    case 'a':
      PresentNextPendant();
      listening_ = true;
      WaitForButton();
      return QByteArray(1, ACK);
    case 'A':
      return ListeningAnswer();
    case 's':
      listening_ = false;
      return QByteArray(1, ACK);
    case 'c':
      return Frame((RadioCodeLocked() + QStringLiteral("00") + faults_.productType).toLatin1());
    case 'm':
      return TakeRequest(argument);
    case 'n':
      return TakeBlock(argument);
    case 'i':
      return StartJob(argument);
    case 'M':
    case 'N':
      return JobStatus();
    case 'x':
      return NextReadBlock();
    default:
      return QByteArray(1, NAK);
  }
}

QByteArray OpuSimulator::Frame(const QByteArray& payload) const {
  QByteArray frame = FramedText(payload);
  const qsizetype digits = frame.size() - 3;
  if (faults_.wrongChecksum) frame[digits + 1] = frame[digits + 1] == '0' ? '1' : '0';
  if (faults_.lowerCaseChecksum) {
    frame[digits] = static_cast<char>(std::tolower(frame[digits]));
    frame[digits + 1] = static_cast<char>(std::tolower(frame[digits + 1]));
  }
  return frame;
}

OpuSimReply OpuSimulator::Shape(const QByteArray& answer) const {
  const QByteArray bytes = faults_.garbageBefore + answer;
  const int pieces = std::clamp(faults_.answerPieces, 1, static_cast<int>(bytes.size()));
  const qsizetype pieceSize = (bytes.size() + pieces - 1) / pieces;
  OpuSimReply reply;
  for (qsizetype start = 0; start < bytes.size(); start += pieceSize)
    reply.pieces.emplace_back(start == 0 ? 0 : faults_.pieceDelayMs, bytes.mid(start, pieceSize));
  return reply;
}

void OpuSimulator::WaitForButton() {
  buttonPressed_ = false;
  pressAt_.reset();
  if (buttonDelayMs_ != ManualButton)
    pressAt_ = Clock::now() + std::chrono::milliseconds(buttonDelayMs_);
}

bool OpuSimulator::ButtonPressed() const {
  return buttonPressed_ || (pressAt_ && Clock::now() >= *pressAt_);
}

QByteArray OpuSimulator::ListeningAnswer() {
  // Until the transmitter calls in, the OPU reports that nothing has been heard yet.
  if (!listening_ || !ButtonPressed()) return Frame("00");
  if (faults_.listeningFails) return Frame("04");
  return Frame((RadioCodeLocked() + QStringLiteral("00") + faults_.productType).toLatin1());
}

QByteArray OpuSimulator::TakeRequest(const QByteArray& request) {
  if (request.isEmpty()) {
    readRequests_.clear();
    readBlocks_.clear();
    job_ = {};
  } else if (request.size() == 4 && IsHexText(request)) {
    readRequests_.emplace_back(HexByteAt(request, 0), HexByteAt(request, 2));
  } else {
    return QByteArray(1, NAK);
  }
  return QByteArray(1, ACK);
}

QByteArray OpuSimulator::TakeBlock(const QByteArray& block) {
  if (block.isEmpty()) {
    writeBlocks_.clear();
    job_ = {};
    return QByteArray(1, ACK);
  }
  if (faults_.refuseBlocks) return QByteArray(1, ESC);
  if (block.size() < 6 || !IsHexText(block) || block.size() != 4 + 2 * HexByteAt(block, 0))
    return QByteArray(1, NAK);
  writeBlocks_.push_back(block);
  return QByteArray(1, ACK);
}

QByteArray OpuSimulator::StartJob(const QByteArray& code) {
  if (faults_.refuseJob || QString::fromLatin1(code) != RadioCodeLocked())
    return QByteArray(1, EOT);
  job_ = Job{true, false};
  readBlocks_.clear();
  WaitForButton();
  return QByteArray(1, ACK);
}

QByteArray OpuSimulator::JobStatus() {
  if (!job_.active || !ButtonPressed()) return Frame("02");
  if (!job_.finished) FinishJob();
  return Frame(faults_.jobOutcome.toLatin1());
}

void OpuSimulator::FinishJob() {
  job_.finished = true;
  if (faults_.jobOutcome != QStringLiteral("03")) return;
  const int pendant = static_cast<int>(donePendants_.size());
  const bool unkeptHere = faults_.unkeptPendant < 0 || faults_.unkeptPendant == pendant;
  if (!writeBlocks_.empty()) written_ = true;
  for (const QByteArray& block : writeBlocks_) {
    const int count = HexByteAt(block, 0);
    const int start = HexByteAt(block, 2);
    for (int i = 0; i < count && start + i < ImageSize; ++i) {
      if (unkeptHere && start + i == faults_.unkeptAddress) continue;
      memory_[start + i] = static_cast<std::uint8_t>(HexByteAt(block, 4 + 2 * i));
    }
  }
  for (const auto& [count, start] : readRequests_) {
    QByteArray block = "0000" + VembaData::ByteToHex(static_cast<std::uint8_t>(count)).toLatin1() +
                       VembaData::ByteToHex(static_cast<std::uint8_t>(start)).toLatin1();
    for (int i = 0; i < count && start + i < ImageSize; ++i)
      block += VembaData::ByteToHex(memory_[start + i]).toLatin1();
    readBlocks_.push_back(block);
  }
  const auto lost = std::min<std::size_t>(std::max(faults_.readBlocksLost, 0), readBlocks_.size());
  readBlocks_.resize(readBlocks_.size() - lost);
}

QByteArray OpuSimulator::NextReadBlock() {
  if (readBlocks_.empty()) return Frame("00");
  const QByteArray block = readBlocks_.front();
  readBlocks_.erase(readBlocks_.begin());
  if (faults_.endlessBlocks) readBlocks_.push_back(block);
  return Frame(block);
}
