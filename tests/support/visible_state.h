#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/sim/simulated_program.h"

// Everything a user can see of the clock, each under its name: every control's text, whether it
// shows, can be used, is chosen; the popup menu's items; the window's caption and width and
// whether it shows or is minimised; the notification icon and its tip.
using VisibleState = std::map<std::string, std::string>;

inline VisibleState visibleState(SimulatedProgram& program) {
  VisibleState state;
  const auto flags = [](bool shown, bool enabled, bool chosen) {
    return std::string(shown ? "" : " hidden") + (enabled ? "" : " disabled") +
           (chosen ? " chosen" : "");
  };
  for (Control* control : program.form.controls()) {
    const auto* option = dynamic_cast<const OptionButton*>(control);
    state[control->name()] = control->caption() + flags(control->visible(), control->enabled(),
                                                        option && option->value());
  }
  for (const MenuItem* item : program.form.mnuPopUp.items()) {
    if (item->isSeparator()) continue;
    state[item->name()] =
        item->caption() + flags(item->visible(), item->enabled(), item->checked());
  }
  const SimPlatform& sim = program.sim;
  state["window"] = sim.caption + ", " + std::to_string(sim.outerWidthTwips) + " twips" +
                    (sim.visible ? "" : " hidden") + (sim.minimized ? " minimised" : "");
  state["icon"] = sim.iconShownNow ? sim.iconRecord.tip() : "none";
  return state;
}

// What changed from one state to the next, as "name: what it shows now".
inline std::vector<std::string> changes(const VisibleState& before, const VisibleState& after) {
  std::vector<std::string> changed;
  for (const auto& [name, shown] : after) {
    if (before.at(name) != shown) changed.push_back(name + ": " + shown);
  }
  return changed;
}
