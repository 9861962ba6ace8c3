#include "platform/common/model_runner.h"

#include <utility>

#include "platform/common/call_gate.h"
#include "platform/common/clock_requests.h"

ModelRunner::ModelRunner(Platform& ports, CallGate& gate, std::function<void()> bringWindowToFront)
    : gate_(gate),
      bringWindowToFront_(std::move(bringWindowToFront)),
      form_(ports),
      speech_(form_, [this](SpeechRequests::Call call) { gate_.whenQuiet(std::move(call)); }) {}

void ModelRunner::start() {
  gate_.deliver([this] { form_.Form_Load(); });
}

bool ModelRunner::obey(std::string_view command) {
  if (command == clockCommand::speak) return speech_.speak() == SpeechRequests::Reply::taken;
  gate_.deliver([this] {
    form_.mnuAnzeige.click();
    bringWindowToFront_();
  });
  return true;
}
