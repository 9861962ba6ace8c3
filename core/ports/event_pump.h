#pragma once

// Runs the window events that are pending at this moment, once, then returns.
class EventPump {
 public:
  virtual ~EventPump() = default;
  virtual void processPendingEvents() = 0;
};
