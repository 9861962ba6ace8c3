#include "platform/common/clock_requests.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace {

using namespace std::chrono_literals;

// A clock asked to quit while it speaks, or with a menu or box open, is asked again until then.
constexpr auto quitWithin = 30s;
// How long a clock that ended may take to let go of its window or socket.
constexpr auto goneWithin = 5s;
// How long a clock may hold its claim without answering while it starts or ends: a process that
// ends may take seconds to let go of it on a busy machine, and a start given up on is lost.
constexpr auto startOrEndWithin = 10s;

int notCarriedOut(ClockContact& contact, ClockAnswer answer) {
  const char* why = answer == ClockAnswer::busy
                        ? "die Uhr ist beschäftigt und nimmt gerade nichts mehr an"
                    : answer == ClockAnswer::kept ? "die Uhr läuft weiter, ein Alarm ist gestellt"
                    : answer == ClockAnswer::silent ? "die laufende Uhr antwortet nicht"
                                                    : "die laufende Uhr ist nicht erreichbar";
  contact.complain(std::string("lurvendel: ") + why + "\n");
  return 1;
}

// Waits while the condition holds, up to the deadline; whether it stopped holding.
template <typename Condition>
bool waitWhile(Condition holds, std::chrono::steady_clock::time_point deadline) {
  while (holds()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(20ms);
  }
  return true;
}

ClockAnswer quitRunningClock(std::string_view command, ClockContact& contact) {
  const auto giveUpAt = std::chrono::steady_clock::now() + quitWithin;
  ClockAnswer answer = contact.ask(command);
  while (answer == ClockAnswer::busy && std::chrono::steady_clock::now() < giveUpAt) {
    std::this_thread::sleep_for(100ms);
    answer = contact.ask(command);
  }
  if (answer != ClockAnswer::silent) return answer;
  const bool gone = waitWhile([&] { return contact.clockAnswers(); },
                              std::chrono::steady_clock::now() + goneWithin);
  return gone ? ClockAnswer::taken : ClockAnswer::silent;
}

// A command's answer; without one, whether a clock answers at all.
ClockAnswer answerTo(const std::string_view* command, ClockContact& contact) {
  if (!command) return contact.clockAnswers() ? ClockAnswer::taken : ClockAnswer::noClock;
  return clockCommand::isQuit(*command) ? quitRunningClock(*command, contact)
                                        : contact.ask(*command);
}

}  // namespace

bool clockCommand::isQuit(std::string_view command) {
  return command == quit || command == quitWithoutAsking;
}

// The first command's answer tells whether a clock runs: one connection, not a probe and then the
// request.
std::optional<int> handOverToRunningClock(const std::vector<std::string_view>& commands,
                                          ClockContact& contact) {
  const bool quits = std::any_of(commands.begin(), commands.end(), clockCommand::isQuit);
  const auto giveUpAt = std::chrono::steady_clock::now() + startOrEndWithin;
  const std::string_view* first = commands.empty() ? nullptr : &commands.front();
  ClockAnswer answer = answerTo(first, contact);
  while (answer == ClockAnswer::noClock) {
    if (contact.claim() != ClaimOutcome::heldByClock) {
      return quits ? std::optional<int>(0) : std::nullopt;
    }
    if (std::chrono::steady_clock::now() > giveUpAt) {
      return first ? notCarriedOut(contact, answer) : 0;
    }
    std::this_thread::sleep_for(20ms);
    answer = answerTo(first, contact);
  }
  for (size_t next = 1; answer == ClockAnswer::taken && next < commands.size(); ++next) {
    answer = answerTo(&commands[next], contact);
  }
  return answer == ClockAnswer::taken ? 0 : notCarriedOut(contact, answer);
}
