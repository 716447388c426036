#!/usr/bin/perl
# Reads BBCode with Debian's Parse::BBCode, a parser of its own: the text to
# standard output, the colours of its runs to standard error as a --colours
# argument, as velmorant-cli --decode writes them.
use strict;
use warnings;
use Parse::BBCode;

binmode STDIN, ':encoding(UTF-8)';
binmode STDOUT, ':encoding(UTF-8)';
local $/;
my $code = <STDIN>;
my %tags = map { $_ => '%s' } qw(b i u s size font color);
my $tree = Parse::BBCode->new({ tags => \%tags })->parse($code);

my @colours;
sub walk {
    my ($node, $colour) = @_;
    for my $part (@{ $node->get_content }) {
        if (ref $part) {
            my $inner = $colour;
            $inner = uc substr($part->get_attr->[0][0], 1) if $part->get_name eq 'color';
            walk($part, $inner);
        } elsif (length $part) {
            print $part;
            push @colours, $colour if defined $colour && (!@colours || $colours[-1] ne $colour);
        }
    }
}
walk($tree, undef);
push @colours, $colours[0] if @colours == 1;
print STDERR '--colours ', join(',', @colours), "\n" if @colours;
