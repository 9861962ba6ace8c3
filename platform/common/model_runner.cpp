#include "platform/common/model_runner.h"

#include <utility>

#include "platform/common/call_gate.h"

ModelRunner::ModelRunner(Platform& ports, CallGate& gate, std::function<void()> bringWindowToFront)
    : gate_(gate),
      bringWindowToFront_(std::move(bringWindowToFront)),
      form_(ports),
      speech_(form_, [this](SpeechRequests::Call call) { gate_.whenQuiet(std::move(call)); }) {}

void ModelRunner::start() {
  gate_.deliver([this] { form_.Form_Load(); });
}

ClockAnswer ModelRunner::obey(std::string_view command) {
  if (command == clockCommand::speak) {
    return speech_.speak() == SpeechRequests::Reply::taken ? ClockAnswer::taken : ClockAnswer::busy;
  }
  if (clockCommand::isQuit(command)) {
    if (!gate_.quiet()) return ClockAnswer::busy;
    if (form_.closeAsks() && command == clockCommand::quitWithoutAsking) return ClockAnswer::kept;
    gate_.deliver([this] { form_.requestClose(); });
    return ClockAnswer::kept;  // "Nein"
  }
  gate_.deliver([this] {
    form_.mnuAnzeige.click();
    bringWindowToFront_();
  });
  return ClockAnswer::taken;
}
