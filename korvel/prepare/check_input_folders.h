#pragma once
void check_input_folders();
