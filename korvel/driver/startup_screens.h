#pragma once
void show_startup_screens();
