#include "support/SimulatedOpu.h"

#include "link/opu/SerialOpuDriver.h"

SimulatedOpu::SimulatedOpu() : server_(simulator_) {
  simulator_.SetButtonDelay(0);
  server_.SetPortLink(folder_.filePath(QStringLiteral("ttyOPU")));
  serving_ = folder_.isValid() && server_.Start();
}

SimulatedOpu::~SimulatedOpu() {
  server_.Stop();
}

std::unique_ptr<OpuLink> SimulatedOpu::MakeLink() const {
  return std::make_unique<OpuLink>(std::make_unique<SerialOpuDriver>(PortPath()));
}

QStringList SimulatedOpu::Conversation() const {
  QStringList result;
  for (const QString& command : Commands()) {
    const bool poll = command == "A" || command == "M" || command == "N";
    if (poll && !result.isEmpty() && result.last() == command) continue;
    result << command;
  }
  return result;
}
