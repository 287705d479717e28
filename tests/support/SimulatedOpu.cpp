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
