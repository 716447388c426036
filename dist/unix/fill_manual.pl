#!/usr/bin/perl
# Fills the manual's include with what the program lists, so that the page never
# repeats a start-up value, a format or a forum by hand.
# Usage: fill_manual.pl CLI IN OUT
use strict;
use warnings;
use JSON::PP;

my ($cli, $in, $out) = @ARGV;
my $d = JSON::PP->new->utf8->decode(scalar `"$cli" --list=description`);
die "$cli --list=description failed\n" if $?;
my @lists = grep { $_ ne 'description' } split /\n/, `"$cli" --list=lists`;

# Text as roff reads it: backslashes and hyphens escaped, no line starting with a dot.
sub roff {
    my ($text) = @_;
    $text =~ s/\\/\\e/g;
    $text =~ s/-/\\-/g;
    $text =~ s/^([.'])/\\&$1/;
    return $text;
}
sub number { my $n = reverse shift; $n =~ s/(\d{3})(?=\d)/$1,/g; return scalar reverse $n; }
sub listed {
    my @items = @_;
    return $items[0] if @items == 1;
    return join(",\n", @items[0 .. $#items - 1]) . " and\n" . $items[-1];
}

my %fill;
$fill{STARTUP} = listed(map { roff("$_->{name} \"$_->{startup}\"") }
                        grep { $_->{startup} ne '' && $_->{kind} ne 'flag' } @{ $d->{settings} });
$fill{FORMATS} = listed(map { ".B " . roff($_->{name}) . "\n(" . roff($_->{summary}) . ")" } @{ $d->{formats} });
$fill{DESTINATIONS} = listed(map {
    ".B " . roff($_->{name}) . "\n(" . roff($_->{help}{en})
        . (defined $_->{length} ? ": " . number($_->{length}) . " " . roff($_->{count}) : ": no length limit")
        . (defined $_->{tags} ? " and " . number($_->{tags}) . " uses of one tag" : "") . ")"
} @{ $d->{destinations} });
# A long source path may break after any slash, and the lines are not stretched
# to the margin: a line of one path piece cannot be.
sub path_breaks { my $text = shift; $text =~ s{/}{/\\:}g; return $text; }
$fill{DESTINATION_SOURCES} = join("\n", ".ad l", (map {
    ".TP\n.B " . roff($_->{name}) . "\n" . path_breaks(ucfirst(roff($_->{source}))) . "."
} @{ $d->{destinations} }), ".ad b");
$fill{LISTS} = listed(map { ".B " . roff($_) } @lists);
$fill{COLOUR_COUNT} = scalar @{ $d->{colourNames} };

open my $source, '<:encoding(UTF-8)', $in or die "$in: $!\n";
my $page = do { local $/; <$source> };
$page =~ s/\@([A-Z_]+)\@/exists $fill{$1} ? $fill{$1} : die "unknown \@$1\@\n"/ge;
open my $target, '>:encoding(UTF-8)', $out or die "$out: $!\n";
print $target $page;
close $target or die "$out: $!\n";
