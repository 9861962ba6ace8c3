#pragma once

// Sets a property's field; true when that changed it, so that the change is told only then.
template <typename T>
bool assign(T& field, const T& value) {
  if (field == value) return false;
  field = value;
  return true;
}
