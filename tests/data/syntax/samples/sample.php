<!DOCTYPE html>
<html lang="en">
<head>
    <title>Guest book</title>
    <!-- The list below is produced by PHP; "quotes" in a comment -->
</head>
<body>
<?php
declare(strict_types=1);

namespace Demo\GuestBook;

/**
 * One entry of the guest book.
 */
final class Entry
{
    public function __construct(
        public readonly string $author,
        public readonly string $text,
        private int $likes = 0x0,
    ) {}

    public function render(): string
    {
        $safe = htmlspecialchars($this->text, ENT_QUOTES);
        return "<li><b>{$this->author}</b>: $safe ({$this->likes})</li>\n";
    }
}

# Shell-style comment, then a C-style one.
/* Entries would normally come from a database,
   here they are fixed. */
$entries = [
    new Entry('Ann', 'It\'s a "nice" page'),
    new Entry("Bob", "Tab\there and a backslash \\"),
];
$rate = 1.5e3;
$mask = 0b1010;
$multi = 'first line
second line';
$footer = <<<EOT
  Entries: {$rate} - it's a "here" document
  EOT;
if (count($entries) > 0 && $rate !== null) {
    echo "<ul>\n";
    foreach ($entries as $i => $entry) {
        echo $entry->render();
    }
    echo "</ul>\n";
} else {
    echo 'No entries yet.';
}
?>
<p class="footer">Rendered at <?= date('H:i') ?>.</p>
</body>
</html>
