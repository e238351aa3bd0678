#pragma once
void check_work_folders_and_names();
