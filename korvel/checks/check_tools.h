#pragma once
void check_tools();
