#pragma once

#include "link/opu/OpuDriver.h"
#include "link/opu/OpuLink.h"
#include "link/opu/OpuLinkOptions.h"
#include "link/opu/PortDriver.h"

#include <QString>
#include <QStringList>

#include <vector>

// Whether the user has what a group grants.
enum class GroupMembership {
  InSession,       // this program runs with the group
  AfterNextLogin,  // the user was added to it after this session began
  NotMember,
  Unknown,  // the system knows no group of that name
};
[[nodiscard]] GroupMembership MembershipOf(const QString& group);
// Whether members of the port's group may use it. Nobody is sent to join a group that does not
// help, nor the administrators' group.
[[nodiscard]] bool GroupMayOpen(const QString& port);

// The other programs that hold the device open, as "name (process id)", as far as /proc tells:
// another user's processes stay hidden from an ordinary user.
[[nodiscard]] QStringList ProgramsHolding(const QString& device);

// Where the programming unit should be.
struct PortSearch {
  QString namedPort;                    // from the link options; the only port used when given
  bool namedPortExists = false;         // of the named port
  QStringList opuPorts;                 // the ports whose USB product string names the OPU
  std::vector<UsbSerialPort> usbPorts;  // every port on a USB adapter, to show a wrong name
  [[nodiscard]] bool Passed() const {
    return namedPort.isEmpty() ? !opuPorts.isEmpty() : namedPortExists;
  }
};

// How opening the port went, and what the user needs to put a failure right.
struct PortOpening {
  QString port;         // the port opened, or the one whose failure is told
  OpenFailure failure;  // kind None: opened
  QString systemText;   // the system's words for the failure
  GroupMembership membership = GroupMembership::Unknown;  // of the port's group, NoPermission
  bool groupMayOpen = false;  // the group may read and write the port: joining it would help
  QStringList holders;        // Busy
  [[nodiscard]] bool Opened() const { return failure.kind == OpenFailure::None; }
};

// A failed opening with what the user needs to put it right: the membership of the port's group
// and whether joining it would help, or the programs that hold the port. `systemText` is the
// system's words for the failure.
[[nodiscard]] PortOpening ExplainFailedOpening(const OpenFailure& failure,
                                               const QString& systemText);

struct VersionAnswer {
  bool answered = false;
  QString version;
  bool newEnough = false;
};

// One look at the OPU while it listens for the pendant's button.
struct ButtonAnswer {
  // ListeningFailed: the OPU gave up, or stopped with an answer that names no transmitter.
  enum State { Waiting, Heard, ListeningFailed, LineLost };
  State state = Waiting;
  QString radioCode;
  QString productType;  // two hexadecimal digits
};

// The connection check's probes, one a step, over a link of their own with the program's link
// options. Nothing is written to a transmitter: the OPU only tells its version and listens for a
// button. Finish, and the destructor, end the listening and close the link.
class ConnectionProbes {
 public:
  explicit ConnectionProbes(const OpuLinkOptions& options, SerialPortPlaces places = {});
  ~ConnectionProbes();
  ConnectionProbes(const ConnectionProbes&) = delete;
  ConnectionProbes& operator=(const ConnectionProbes&) = delete;

  [[nodiscard]] PortSearch FindPorts() const;
  // Opens the link as every transmitter operation does; it stays open for the next probes.
  [[nodiscard]] PortOpening Open();
  [[nodiscard]] VersionAnswer AskVersion();
  [[nodiscard]] bool StartListening();
  [[nodiscard]] ButtonAnswer PollButton();
  void Finish();

  [[nodiscard]] bool LinkOpen() const { return link_.IsOpen(); }

 private:
  QString namedPort_;
  SerialPortPlaces places_;
  PortDriver* driver_;  // owned by the link
  OpuLink link_;
  bool listening_ = false;
};
