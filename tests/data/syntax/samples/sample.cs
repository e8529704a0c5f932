// sample.cs - reads settings and prints a report.
using System;
using System.Collections.Generic;
using System.IO;

#region Helpers
#nullable enable

namespace Demo.Reports
{
    /// <summary>A settings entry with a "name" and a value.</summary>
    public sealed record Entry(string Name, decimal Value);

    /* Multi-line comment:
       the parser must not treat this "string" as one. */
    internal static class Program
    {
        private const string Folder = @"C:\Program Files\Demo";
        private const string Quoted = @"She said ""hello"" twice";
        private const string Escaped = "line\tone \"two\"\n";
        private const char Apostrophe = '\'';
        private static readonly string Json = """
            { "name": "demo", "size": 42 }
            """;

        public static async Task<int> Main(string[] args)
        {
            var entries = new List<Entry>();
            int hex = 0x1F, bin = 0b_1010;
            long big = 42L;
            double ratio = 3.5e-2d;
            decimal money = 19.99m;
            foreach (var line in await File.ReadAllLinesAsync(args[0]))
            {
                if (string.IsNullOrWhiteSpace(line) || line.StartsWith('#'))
                {
                    continue;
                }
                var parts = line.Split('=', 2);
                entries.Add(new Entry(parts[0].Trim(), decimal.Parse(parts[1])));
            }
            var name = "world";
            Console.WriteLine($"Hello {name}, {entries.Count} entries");
            Console.WriteLine($@"Folder: {Folder}\{name}");
            Console.WriteLine(Quoted + Escaped + Apostrophe + Json);
            return entries.Count > 0 ? hex + bin + (int)big + (int)ratio
                                     + (int)money : -1;
        }
    }
}

#endregion
