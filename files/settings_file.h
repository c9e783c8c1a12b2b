#pragma once
// The three choices that survive a restart, in "quillon.ini".

void ReadSettings();
void WriteSettings();
