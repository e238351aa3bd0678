#pragma once
void normalise_file_names();
