# sample.mk - builds a small C program.
# Variables can be set on the command line: make CC=clang
CC      ?= gcc
CFLAGS  := -O2 -Wall -Wextra -std=c17
LDFLAGS +=
PREFIX  ?= /usr/local
SOURCES := $(wildcard src/*.c)
OBJECTS := $(SOURCES:src/%.c=build/%.o)
TARGET  := build/sample
VERSION := "1.0 \"beta\""

ifeq ($(DEBUG),1)
    CFLAGS += -g -O0 -DDEBUG
else
    CFLAGS += -DNDEBUG
endif

.PHONY: all clean install

all: $(TARGET)

$(TARGET): $(OBJECTS)
	$(CC) $(LDFLAGS) -o $@ $^

build/%.o: src/%.c | build
	$(CC) $(CFLAGS) -c -o $@ $<

build:
	mkdir -p $@

install: all
	install -m 755 $(TARGET) ${PREFIX}/bin/ # trailing comment
	@echo 'installed into $(PREFIX)'

clean:
	rm -rf build

define HELP_TEXT
Targets: all clean install
endef
export HELP_TEXT

include $(wildcard *.d)
