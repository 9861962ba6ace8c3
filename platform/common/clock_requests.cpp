#include "platform/common/clock_requests.h"

#include <chrono>
#include <thread>

namespace {

int notCarriedOut(ClockContact& contact, ClockAnswer answer) {
  const char* why = answer == ClockAnswer::busy
                        ? "die Uhr ist beschäftigt und nimmt gerade nichts mehr an"
                    : answer == ClockAnswer::silent ? "die laufende Uhr antwortet nicht"
                                                    : "die laufende Uhr ist nicht erreichbar";
  contact.complain(std::string("lurvendel: ") + why + "\n");
  return 1;
}

}  // namespace

std::optional<int> handOverToRunningClock(const std::vector<std::string_view>& commands,
                                          ClockContact& contact) {
  using namespace std::chrono_literals;
  const auto giveUpAt = std::chrono::steady_clock::now() + 3s;
  while (!contact.clockAnswers()) {
    if (contact.claim() != ClaimOutcome::heldByClock) return std::nullopt;
    if (std::chrono::steady_clock::now() > giveUpAt) {
      return commands.empty() ? 0 : notCarriedOut(contact, ClockAnswer::noClock);
    }
    std::this_thread::sleep_for(20ms);
  }
  for (const std::string_view command : commands) {
    const ClockAnswer answer = contact.ask(command);
    if (answer != ClockAnswer::taken) return notCarriedOut(contact, answer);
  }
  return 0;
}
