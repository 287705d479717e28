#include "link/opu/OpuLink.h"

#include "image/VembaData.h"
#include "link/opu/OpuFrame.h"
#include "link/opu/PortDriver.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace {

constexpr int ReadTimeoutMs = 10;
constexpr std::chrono::milliseconds ReadTimeout{ReadTimeoutMs};
constexpr int WriteTimeoutMs = 100;
constexpr std::chrono::milliseconds PieceExtension{250};

// A checksum character's value as the OPU's firmware reads it; only upper-case digits give
// the right value.
int ChecksumCharacterValue(char character) {
  const int code = static_cast<unsigned char>(character);
  return code <= '9' ? code - 0x30 : code - 0x37;
}

bool AnswerComplete(const char* area, int held, int expectedLength) {
  if (expectedLength <= 1) return held == expectedLength;
  const char* text_end = area + std::strlen(area);
  return std::find(area, text_end, STX) != text_end && std::find(area, text_end, ETX) != text_end;
}

bool IsSingleByte(int received, const QByteArray& answer, char byte) {
  return received == 1 && answer.at(0) == byte;
}

int CharacterAt(const QByteArray& text, int index) {
  return index < text.size() ? static_cast<unsigned char>(text.at(index)) : 0;
}

}  // namespace

OpuLink::OpuLink(const OpuLinkOptions& options)
    : OpuLink(MakePortDriver(options.portPath), options.traceFile) {}

OpuLink::OpuLink(std::unique_ptr<OpuDriver> driver, const QString& traceFile)
    : driver_(std::move(driver)), trace_(traceFile) {}

OpuLink::~OpuLink() {
  Close();
}

void OpuLink::UsePort(const QString& portPath) {
  Close();
  driver_ = MakePortDriver(portPath);
}

int OpuLink::Open() {
  if (handle != nullptr) {
    driver_->Close();
    handle = nullptr;
  }
  lastOpenError_.clear();
  lastOpenFailure_ = {};
  lineLost_ = false;
  if (driver_->OpenEx(QString::fromLatin1(Description), OpuDriver::OpenByDescription) != 0) {
    lastOpenError_ = driver_->LastOpenError();
    lastOpenFailure_ = driver_->LastOpenFailure();
    trace_.Note(QStringLiteral("open failed: ") + lastOpenError_);
    return 1;
  }
  handle = driver_.get();
  int failedCalls = 0;
  failedCalls += handle->SetBaudRate(BaudRate) != 0;
  failedCalls += handle->SetDataCharacteristics(OpuDriver::WordLength8, OpuDriver::StopBits2,
                                                OpuDriver::ParityNone) != 0;
  failedCalls += handle->SetFlowControl(OpuDriver::FlowControlNone, 0, 0) != 0;
  failedCalls += handle->ClearDtr() != 0;
  if (failedCalls > 0) {
    lastOpenError_ = QStringLiteral("%1 line setting(s) refused by the port").arg(failedCalls);
    lastOpenFailure_.kind = OpenFailure::Other;
    trace_.Note(QStringLiteral("open: ") + lastOpenError_);
    return 1;
  }
  trace_.Note(QStringLiteral("opened"));
  return 0;
}

bool OpuLink::LineLost() const {
  return lineLost_ || (handle != nullptr && handle->HungUp());
}

void OpuLink::Close() {
  if (handle == nullptr) return;
  lineLost_ = LineLost();
  (void)handle->Purge(OpuDriver::PurgeReceive);
  handle->Close();
  handle = nullptr;
  trace_.Note(lineLost_ ? QStringLiteral("closed after the line hung up")
                        : QStringLiteral("closed"));
}

int OpuLink::WriteText(const char* text) {
  if (handle == nullptr) return 0;
  const auto length = static_cast<std::uint32_t>(std::strlen(text));
  std::uint32_t written = 0;
  if (handle->Write(text, length, written) != 0) return 0;
  trace_.Sent(QByteArray(text, static_cast<qsizetype>(written)));
  return static_cast<int>(written);
}

int OpuLink::Read(char* destination, int maximum) {
  if (handle == nullptr) return 0;
  const int requested = std::min(maximum, QueueLength());
  if (requested <= 0) return 0;
  std::uint32_t delivered = 0;
  if (handle->Read(destination, static_cast<std::uint32_t>(requested), delivered) != 0) return 0;
  trace_.Received(QByteArray(destination, static_cast<qsizetype>(delivered)));
  return static_cast<int>(delivered);
}

int OpuLink::QueueLength() {
  if (handle == nullptr) return 0;
  std::uint32_t received = 0;
  (void)handle->GetQueueStatus(received);
  return static_cast<int>(std::min<std::uint32_t>(received, INT32_MAX));
}

bool OpuLink::PurgeAll() {
  if (handle == nullptr) return false;
  return handle->Purge(OpuDriver::PurgeReceive | OpuDriver::PurgeTransmit) == 0;
}

void OpuLink::SetTimeouts(int readMs, int writeMs) {
  if (handle != nullptr) (void)handle->SetTimeouts(readMs, writeMs);
}

int OpuLink::Transact(const QString& command, QByteArray& answer, int timeoutMs,
                      int expectedLength) {
  answer.clear();
  // Nothing passes a line that hung up: no command waits for an answer there.
  if (LineLost()) return 0;
  SendCommand(command);
  return ReceiveAnswer(answer, timeoutMs, expectedLength);
}

int OpuLink::SendCommand(const QString& command) {
  const QByteArray text = command.toLatin1();
  // The OPU takes no longer text: it would not fit its frame with STX, checksum and ETX.
  if (text.isEmpty() || text.size() > MaxCommandLength) return 0;
  (void)PurgeAll();
  return WriteText(FramedText(text).constData());
}

int OpuLink::ReceiveAnswer(QByteArray& answer, int timeoutMs, int expectedLength) {
  answer.clear();
  SetTimeouts(ReadTimeoutMs, WriteTimeoutMs);
  std::array<char, AnswerAreaSize + 1> area{};
  int held = 0;
  bool complete = false;
  auto deadline = driver_->Now() + std::chrono::milliseconds(timeoutMs);
  while (!complete && driver_->Now() < deadline && !LineLost()) {
    if (QueueLength() == 0) {
      driver_->WaitForBytes(deadline);
      continue;
    }
    const int got = Read(area.data() + held, AnswerAreaSize - held);
    // A port that reports queued bytes and hands over none (a failed or interrupted read)
    // is asked again after a read time-out, not at once and not on a spinning core.
    if (got == 0) driver_->Pause(std::min(deadline, driver_->Now() + ReadTimeout));
    held += got;
    area[held] = '\0';
    // A full area ends the wait: nothing past it could be collected, and waiting for more
    // would hold the program as long as the OPU keeps sending.
    complete = AnswerComplete(area.data(), held, expectedLength) || held == AnswerAreaSize;
    if (got > 0) deadline = driver_->Now() + PieceExtension;
  }
  if (!complete) trace_.DeadlinePassed(held);
  if (held == 0) return 0;
  if (held == 1) {
    answer = QByteArray(1, area[0]);
    return 1;
  }
  const QByteArray received(area.data(), held);
  // A NUL byte never belongs to a frame; the text before it must not pass for the answer.
  if (received.contains('\0') || !VerifyFrame(received)) return 0;
  answer = received.mid(1, held - 4);
  return held - 4;
}

bool OpuLink::VerifyFrame(const QByteArray& received) {
  const qsizetype length = received.size();
  if (length < 4 || received.front() != STX || received.back() != ETX) return false;
  const int stated = 16 * ChecksumCharacterValue(received.at(length - 3)) +
                     ChecksumCharacterValue(received.at(length - 2));
  return stated == FrameChecksum(received.mid(1, length - 4));
}

int OpuLink::SingleByteCommand(const QString& command, char refusal, int refusalCode) {
  QByteArray answer;
  const int received = Transact(command, answer, AnswerTimeoutMs, 1);
  if (IsSingleByte(received, answer, ACK)) return Success;
  if (refusalCode != NoValidAnswer && IsSingleByte(received, answer, refusal)) return refusalCode;
  return NoValidAnswer;
}

int OpuLink::StatusPoll(const QString& command, QString& status) {
  QByteArray answer;
  if (Transact(command, answer, AnswerTimeoutMs, 2) != 2) return NoData;
  status = QString::fromLatin1(answer);
  return Success;
}

int OpuLink::StartListening(const QString& code, const QString& parameter) {
  return SingleByteCommand(QStringLiteral("a") + code + parameter, ACK, NoValidAnswer);
}

int OpuLink::PollListening(QString& answer) {
  QByteArray received;
  Transact(QStringLiteral("A"), received, AnswerTimeoutMs, 2);
  answer = QString::fromLatin1(received);
  return Success;
}

std::optional<OpuLink::HeardTransmitter> OpuLink::ParseListeningAnswer(const QString& answer) {
  if (answer.size() != ListeningAnswerLength) return std::nullopt;
  // The code goes into the record, a folder name and the next job: anything but four hexadecimal
  // digits is a garbled answer, not a code.
  const QString code = answer.left(4);
  if (!std::all_of(code.begin(), code.end(), VembaData::IsHexDigit)) return std::nullopt;
  return HeardTransmitter{code, answer.mid(6, 2)};
}

int OpuLink::StopListening() {
  return SingleByteCommand(QStringLiteral("s0"), ACK, NoValidAnswer);
}

int OpuLink::ReadRadioCode(QString& code) {
  QByteArray answer;
  if (Transact(QStringLiteral("c1"), answer, AnswerTimeoutMs, 8) != 8) return NoValidAnswer;
  code = QString::fromLatin1(answer.left(4));
  return Success;
}

int OpuLink::ReadOpuVersion(QString& version) {
  QByteArray answer;
  version.clear();
  if (Transact(QStringLiteral("v"), answer, AnswerTimeoutMs, 11) != 11) return NoValidAnswer;
  version = QString::fromLatin1(answer);
  return Success;
}

int OpuLink::CheckOpuVersion(const QString& required) {
  QString version;
  const int read = ReadOpuVersion(version);
  if (read != Success) return read;
  return VersionIsNewEnough(version, required) ? Success : VersionTooOld;
}

bool OpuLink::VersionIsNewEnough(const QString& version, const QString& required) {
  // The firmware's own rule: the same minor digit, and a major number that is not older.
  const QByteArray told = version.toLatin1();
  const QByteArray wanted = required.toLatin1();
  const bool sameMinor = CharacterAt(told, 3) == CharacterAt(wanted, 3);
  const bool newerMajor = CharacterAt(told, 0) > CharacterAt(wanted, 0) ||
                          CharacterAt(told, 1) >= CharacterAt(wanted, 1);
  return sameMinor && newerMajor;
}

int OpuLink::SendReadRequest(const QString& request) {
  return SingleByteCommand(QStringLiteral("m") + request, ACK, NoValidAnswer);
}

int OpuLink::SendWriteBlock(const QString& block) {
  return SingleByteCommand(QStringLiteral("n") + block, ESC, BlockRefused);
}

int OpuLink::StartJob(const QString& code) {
  return SingleByteCommand(QStringLiteral("i") + code, EOT, JobRefused);
}

int OpuLink::PollReadStatus(QString& status) {
  return StatusPoll(QStringLiteral("M"), status);
}

int OpuLink::PollWriteStatus(QString& status) {
  return StatusPoll(QStringLiteral("N"), status);
}

int OpuLink::FetchReadBlock(QString& block) {
  QByteArray answer;
  const int received = Transact(QStringLiteral("x"), answer, AnswerTimeoutMs, 2);
  if (received >= 10 && received <= 24) {
    block = QString::fromLatin1(answer);
    return Success;
  }
  if (received == 1) block.clear();
  return NoData;
}
