#pragma once

// Labels that carry an accessible name (the time displays: "Stunden", "Minuten", "Sekunden")
// keep saying what they show: screen readers read the digits through the text interface while
// the name says which display it is. Install once, before the first widget is shown.
void installLabelAccessibility();
