#!/usr/bin/perl
# sample.pl - counts word frequencies in the files given.
use strict;
use warnings;

=pod

=head1 NAME

sample.pl - word counter; this POD block is a comment, even "this".

=cut

my %count;
my @files = @ARGV ? @ARGV : ('-');
my $limit = 0x10;
my $ratio = 1.5e-2;
my $greeting = "Hello, \"world\"\n";
my $single = 'it\'s literal: $not_a_variable';
my @words = qw(alpha beta gamma);
my $multi = "first line
second line";

sub normalise {
    my ($word) = @_;
    $word = lc $word;
    $word =~ s/[^a-z0-9]+//g;
    return $word;
}

foreach my $file (@files) {
    open(my $fh, '<', $file) or die "cannot open $file: $!";
    while (my $line = <$fh>) {
        chomp $line;
        next if $line =~ /^\s*$/;    # skip blank lines
        for my $word (split ' ', $line) {
            my $key = normalise($word);
            $count{$key}++ if length $key;
        }
    }
    close $fh;
}

my $last = $#files;
my @sorted = sort { $count{$b} <=> $count{$a} || $a cmp $b } keys %count;
printf "%-20s %5d\n", $_, $count{$_} for @sorted[0 .. ($#sorted < $limit ? $#sorted : $limit - 1)];
print $greeting, $single, "@words", $multi, $ratio, $last, "\n";
print <<"EOF";
Counted @{[ scalar @sorted ]} words; it's "done".
EOF
