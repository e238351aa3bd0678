#include "korvel/interp/findstr_regex.h"

#include <bitset>
#include <vector>

namespace korvel {

namespace {
struct Atom {
  std::bitset<256> accepts;
  bool repeated = false;  // followed by *
};

unsigned char byte(char c) { return static_cast<unsigned char>(c); }

void accept(Atom& atom, char c, bool ignore_case) {
  atom.accepts.set(byte(c));
  if (!ignore_case) return;
  if (c >= 'a' && c <= 'z') atom.accepts.set(byte(c) - 32);
  if (c >= 'A' && c <= 'Z') atom.accepts.set(byte(c) + 32);
}

// Parses a [...] class starting after "[" at `i`; leaves `i` after "]".
Atom parse_class(std::string_view regex, size_t& i, bool ignore_case) {
  Atom atom;
  bool negate = i < regex.size() && regex[i] == '^';
  if (negate) ++i;
  while (i < regex.size() && regex[i] != ']') {
    char low = regex[i];
    if (low == '\\' && i + 1 < regex.size()) low = regex[++i];
    ++i;
    char high = low;
    if (i + 1 < regex.size() && regex[i] == '-' && regex[i + 1] != ']') {
      high = regex[i + 1];
      i += 2;
    }
    for (int c = byte(low); c <= byte(high); ++c) accept(atom, static_cast<char>(c), ignore_case);
  }
  if (i < regex.size()) ++i;  // the closing ]
  if (negate) atom.accepts.flip();
  return atom;
}

bool match_here(const std::vector<Atom>& atoms, size_t a, std::string_view line, size_t at, bool to_end) {
  if (a == atoms.size()) return !to_end || at == line.size();
  const Atom& atom = atoms[a];
  if (atom.repeated) {
    size_t stop = at;
    while (stop < line.size() && atom.accepts.test(byte(line[stop]))) ++stop;
    for (size_t k = stop + 1; k-- > at;)
      if (match_here(atoms, a + 1, line, k, to_end)) return true;
    return false;
  }
  return at < line.size() && atom.accepts.test(byte(line[at])) && match_here(atoms, a + 1, line, at + 1, to_end);
}
}  // namespace

bool findstr_match(std::string_view regex, std::string_view line, bool ignore_case) {
  bool at_start = !regex.empty() && regex.front() == '^';
  if (at_start) regex.remove_prefix(1);
  bool to_end = !regex.empty() && regex.back() == '$' && (regex.size() < 2 || regex[regex.size() - 2] != '\\');
  if (to_end) regex.remove_suffix(1);

  std::vector<Atom> atoms;
  for (size_t i = 0; i < regex.size();) {
    char c = regex[i++];
    if (c == '*' && !atoms.empty() && !atoms.back().repeated) {
      atoms.back().repeated = true;
      continue;
    }
    Atom atom;
    if (c == '.') atom.accepts.set();
    else if (c == '[') atom = parse_class(regex, i, ignore_case);
    else if (c == '\\' && i < regex.size()) accept(atom, regex[i++], ignore_case);
    else accept(atom, c, ignore_case);
    atoms.push_back(atom);
  }
  for (size_t start = 0; start <= line.size(); ++start) {
    if (match_here(atoms, 0, line, start, to_end)) return true;
    if (at_start) break;
  }
  return false;
}

}  // namespace korvel
