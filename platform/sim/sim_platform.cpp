#include "platform/sim/sim_platform.h"

#include <algorithm>
#include <cmath>
#include <limits>

SimPlatform::SimPlatform()
    : ports_{.clock = clock,
             .pump = *this,
             .dialogs = *this,
             .window = *this,
             .tray = *this,
             .instance = *this,
             .program = *this,
             .audio = *this} {
  clock.set(2026, 12, 7, 10, 14, 50);
}

void SimPlatform::attach(frmUhr& form) {
  form_ = &form;
  for (Control* control : form.controls()) {
    control->viewHook = [this, control](Property property) {
      switch (property) {
        case Property::caption:
          log(control->name() + ".caption=" + control->caption());
          break;
        case Property::text:
          log(control->name() + ".text=" + control->caption());
          break;
        case Property::visible:
          log(control->name() + (control->visible() ? ".shown" : ".hidden"));
          break;
        case Property::enabled:
          log(control->name() + (control->enabled() ? ".enabled" : ".disabled"));
          break;
        case Property::value:
          log(control->name() +
              ".value=" + (dynamic_cast<OptionButton*>(control)->value() ? "1" : "0"));
          break;
        case Property::focus:
          log(control->name() + ".focus");
          break;
        case Property::repaintNow:
          log(control->name() + ".refresh");
          break;
      }
    };
  }
  for (MenuItem* item : form.mnuPopUp.items()) {
    item->viewHook = [this, item](MenuProperty) {
      log(item->name() + (item->visible() ? "" : " hidden") + (item->enabled() ? "" : " disabled") +
          (item->checked() ? " checked" : ""));
    };
  }
  form.Timer1.platformHook = [this] {
    log("Timer1.interval=" + std::to_string(form_->Timer1.interval()) +
        (form_->Timer1.enabled() ? "" : " disabled"));
    armTimer(form_->Timer1.interval());
  };
}

void SimPlatform::at(std::int64_t ms, std::function<void()> action) {
  actions_.emplace(ms, std::move(action));
}

void SimPlatform::runUntil(std::int64_t ms) {
  while (!ended) {
    const std::int64_t next = nextEventTime();
    if (next > ms) break;
    clock.advanceTo(next);
    deliver([this] {
      runDueActions();
      runDueTick();
    });
  }
  clock.advanceTo(ms);
}

void SimPlatform::deliver(const std::function<void()>& event) {
  runHandler(event);
  if (handlerDepth_ > 0) return;
  while (!quiet_.empty() && !ended) {
    const std::function<void()> call = std::move(quiet_.front());
    quiet_.pop_front();
    runHandler(call);
  }
}

void SimPlatform::whenQuiet(std::function<void()> call) {
  quiet_.push_back(std::move(call));
}

void SimPlatform::runHandler(const std::function<void()>& event) {
  ++handlerDepth_;
  try {
    event();
  } catch (const ProgramEnded&) {
  }
  --handlerDepth_;
}

void SimPlatform::setTimeOfDay(int hour, int minute, int second) {
  clock.setTimeOfDay(hour, minute, second);
  armTimer(form_->Timer1.interval());
}

std::vector<std::string> SimPlatform::traced(const std::string& prefix) const {
  std::vector<std::string> found;
  std::copy_if(trace.begin(), trace.end(), std::back_inserter(found),
               [&prefix](const std::string& entry) { return entry.starts_with(prefix); });
  return found;
}

std::int64_t SimPlatform::timeOf(const std::string& entry) const {
  const auto found = std::find(trace.begin(), trace.end(), entry);
  return found == trace.end() ? -1 : traceTimes[static_cast<size_t>(found - trace.begin())];
}

void SimPlatform::log(std::string entry) {
  trace.push_back(std::move(entry));
  traceTimes.push_back(clock.ms());
}

void SimPlatform::processPendingEvents() {
  runDueActions();
  runDueTick();
}

msgbox::Answer SimPlatform::messageBox(const std::string& text, int style,
                                       const std::string& title) {
  log("msgbox " + std::to_string(style) + " [" + title + "] " + text);
  runFor(dialogOpenMs);
  if (answers.empty()) {
    return (style & 0x0f) == msgbox::yesNo ? msgbox::Answer::no : msgbox::Answer::ok;
  }
  const msgbox::Answer answer = answers.front();
  answers.pop_front();
  return answer;
}

void SimPlatform::setCaption(const std::string& text) {
  caption = text;
  log("window.caption=" + text);
}

void SimPlatform::hide() {
  visible = false;
  log("window.hide");
}

void SimPlatform::popupMenu(MenuItemId defaultItem) {
  std::string opened = "menu.popup";
  for (const MenuItem* item : form_->mnuPopUp.items()) {
    if (item->id() == defaultItem) opened += " default=" + item->name();
  }
  log(opened);
  runFor(menuOpenMs);
  if (menuChoices.empty()) return;
  const std::string choice = menuChoices.front();
  menuChoices.pop_front();
  for (const MenuItem* item : form_->mnuPopUp.items()) {
    if (item->name() == choice && item->visible() && item->enabled()) item->click();
  }
}

void SimPlatform::restore() {
  minimized = false;
  log("window.restore");
}

void SimPlatform::setOuterWidthTwips(int twips) {
  outerWidthTwips = twips;
  log("window.width=" + std::to_string(twips));
}

void SimPlatform::makeTopmost() {
  topmost = true;
  log("window.topmost");
}

void SimPlatform::show() {
  visible = true;
  log("window.show");
}

// As on the real window, a repaint runs the paint handler at once.
void SimPlatform::repaintNow() {
  log("window.repaint");
  if (form_ && visible) form_->Form_Paint();
}

void SimPlatform::notifyIcon(Message message, const Record& record) {
  const bool add = message == Message::add;
  const TrayData fields = TrayData::fromBytes(record);
  log(std::string(add ? "tray.add " : "tray.remove ") + fields.tip());
  if (add && !trayAvailable) return;
  if (add && !iconShownNow) iconRecord = fields;
  iconShownNow = add;
}

void SimPlatform::endProgram() {
  ended = true;
  log("program.end");
  throw ProgramEnded{};
}

void SimPlatform::play(std::int16_t id, const PcmClip& sound) {
  const std::int64_t start = clock.ms();
  clock.advance(std::llround(sound.seconds() * 1000));
  played.push_back({start, clock.ms(), id, sound.format});
}

std::vector<std::int16_t> SimPlatform::clipIds(size_t from) const {
  std::vector<std::int16_t> ids;
  for (size_t i = from; i < played.size(); ++i) ids.push_back(played[i].id);
  return ids;
}

void SimPlatform::armTimer(std::int64_t step) {
  tickDue_ = form_->Timer1.running() ? (clock.ms() / step + 1) * step : -1;
}

// A user action is followed by a tick within one interval, as the timer's own rhythm gives it.
void SimPlatform::tickAfterUserAction() {
  if (!ticksAtSecondsOnly) return;
  const std::int64_t due = tickDue_;
  armTimer(form_->Timer1.interval());
  if (due >= 0) tickDue_ = std::min(due, tickDue_);
}

void SimPlatform::runDueActions() {
  while (!actions_.empty() && actions_.begin()->first <= clock.ms()) {
    auto action = std::move(actions_.begin()->second);
    actions_.erase(actions_.begin());
    action();
    tickAfterUserAction();
  }
}

// At most one tick for all that fell due; the next is armed before the handler runs, so a tick
// that falls due while the handler pumps runs nested.
void SimPlatform::runDueTick() {
  if (tickDue_ < 0 || tickDue_ > clock.ms()) return;
  armTimer(ticksAtSecondsOnly ? 1000 : form_->Timer1.interval());
  ++ticks;
  maxTickDepth = std::max(maxTickDepth, ++tickDepth);
  form_->Timer1.fire();
  --tickDepth;
}

std::int64_t SimPlatform::nextEventTime() const {
  if (!quiet_.empty() && handlerDepth_ == 0) return clock.ms();
  std::int64_t next = std::numeric_limits<std::int64_t>::max();
  if (!actions_.empty()) next = actions_.begin()->first;
  if (tickDue_ >= 0) next = std::min(next, tickDue_);
  return next;
}
