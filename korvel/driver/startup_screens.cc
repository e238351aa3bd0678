#include "korvel/driver/startup_screens.h"

#include <string>

#include "korvel/console/console.h"
#include "korvel/console/invocation.h"
#include "korvel/console/prompts.h"
#include "korvel/console/urls.h"

namespace korvel {

void show_startup_screens() {
  // Banner.
  print_line(invocation_path());
  print_empty_line();
  print_line("====================================");
  print_empty_line();
  print_line("THE PROGRAM INDEXES A GROUP OF TXT FILES ON EACH WORD AND CREATES A DOCUMENT BASE");
  print_empty_line();
  print_line("We also used the program convertcp.exe");
  print_line(std::string("Info:") + kConvertcpUrl);
  print_line("We also used the program wget.exe");
  print_line(std::string("Info:") + kWgetUrl);
  print_empty_line();
  // The name shown is the program's own, whatever its file is called.
  print_text("Program name:");
  print_line("korvel_01_209.exe");

  // Terms of use; their wording lines are blank in this edition.
  print_line("Terms of use:");
  print_line("");
  print_line("");
  print_empty_line();
  print_line("");
  print_line("");
  print_line("");
  print_line("");
  print_empty_line();
  print_line(std::string("More info: ") + kMakerUrl);
  print_empty_line();
  print_line("====================================");
  print_line("Do you accept the terms of use?");
  print_empty_line();
  key_menu({"<1> yes, continue", "<2> no, end"}, "1", "2");
  print_empty_line();

  // Font notice.
  print_line("----------------------------");
  print_line("FONT CONSOLAS OR LUCIDA CONSOLE MUST BE SELECTED IN THE PROGRAM EXECUTION WINDOW.");
  print_line("Setting procedure (necessary for correct printing):");
  print_line("- move the mouse to the center of the upper bold edge of the execution window;");
  print_line("- right mouse click;");
  print_line("- select Properties from the drop-down menu;");
  print_line("- select the Font tab;");
  print_line("- this tab includes the Consolas or Lucida Console font.");
  print_empty_line();
  print_line("In the Layout tab, select the size of the execution window.");
  print_line("Selected settings work when the program is restarted.");
  print_line("----------------------------");
  print_empty_line();
  key_menu({"<1> continue", "<2> end"}, "1", "2");
  print_empty_line();

  // Installation notice.
  print_line("----------------------------");
  print_line("THE PROGRAM MUST BE INSTALLED IN YOUR OWN DIRECTORY.");
  print_line("During execution, the program creates and also deletes most *.txt and other files.");
  print_empty_line();
  print_line(
      "The *.TXT and *.HTM files you want to index must be written in UTF-8 format and copied to "
      "the TXT_IN subfolder.");
  print_line(
      "The *.TXT and *.HTM file names must not contain spaces or special characters (ASCII "
      "only).");
  print_line("----------------------------");
  print_empty_line();
  key_menu({"<1> continue", "<2> end"}, "1", "2");
}

}  // namespace korvel
