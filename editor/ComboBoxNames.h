// Screen readers name a drop-down list by the name it was given (its label's text) rather than by
// the entry it shows: on this platform Qt's own interface answers a list's current text for its
// name, so "Target Frame" was read out as "_self" and two alignment lists both as "Left".
#pragma once

// Installs the naming for every drop-down list; more calls change nothing.
void NameComboBoxesByTheirNames();
