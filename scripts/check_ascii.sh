#!/usr/bin/env bash
# Checks that no text for users stands in code: outside comments, the C++
# sources of calc/, cli/, ui/ and platform/ are ASCII. The program's texts
# live in res/mirabo.rc; the few non-ASCII names the code needs (font faces,
# field aliases) are written with escapes. Prints each line that breaks this
# and exits with status 1.
#
#   bash scripts/check_ascii.sh
set -euo pipefail
cd "$(dirname "$0")/.."

find calc cli ui platform \( -name '*.cpp' -o -name '*.h' \) -print0 | sort -z | xargs -0 perl -e '
  my $status = 0;
  for my $file (@ARGV) {
    open(my $in, "<:raw", $file) or die "$file: $!";
    local $/;
    my $code = <$in>;
    # Comments go (a block comment keeps its line breaks); strings and
    # character literals stay, with anything that looks like a comment in them.
    $code =~ s{("(?:\\.|[^"\\\n])*"|\x27(?:\\.|[^\x27\\\n])*\x27)|//[^\n]*|/\*(.*?)\*/}
              {defined $1 ? $1 : defined $2 ? ($2 =~ tr/\n//cdr) : ""}gse;
    my $line = 0;
    for (split /\n/, $code, -1) {
      ++$line;
      if (/[^\x00-\x7F]/) {
        print "$file:$line: not ASCII outside a comment\n";
        $status = 1;
      }
    }
  }
  exit $status;
' || exit 1
