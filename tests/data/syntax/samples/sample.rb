#!/usr/bin/env ruby
# frozen_string_literal: true
# sample.rb - a to-do list kept in a YAML file.

require 'yaml'

=begin
A block comment: every line up to the closing marker
is a comment, including "strings" and #{interpolation}.
=end

module Todo
  VERSION = '1.2.0'
  LIMIT = 0x64
  RATIO = 2.5e-1

  class List
    include Enumerable
    attr_reader :items, :path

    def initialize(path = "todo.yml")
      @path = path
      @items = File.exist?(path) ? YAML.load_file(path) : []
      @@instances ||= 0
      @@instances += 1
    end

    def add(text, done: false)
      raise ArgumentError, "empty \"text\"" if text.strip.empty?
      @items << { 'text' => text, 'done' => done }
      self
    end

    def each(&block)
      @items.each(&block)
    end

    def to_s
      map.with_index(1) do |item, index|
        mark = item['done'] ? 'x' : ' '
        "#{index}. [#{mark}] #{item['text']}"
      end.join("\n")
    end

    def save
      File.write(@path, YAML.dump(@items))
    end
  end
end

words = %w(alpha beta gamma)
escaped = 'it\'s a \\ backslash'
multi = "first line
second line"
report = <<~EOS
  Report for #{Todo::VERSION}: it's "done"
EOS
list = Todo::List.new
list.add("Write the report", done: true).add('Review it')
puts list unless $stdout.closed?
puts words.inspect, escaped, multi, report, Todo::LIMIT * 2
