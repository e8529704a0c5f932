// Package sample shows a small HTTP handler.
package main

import (
	"encoding/json"
	"fmt"
	"net/http"
	"strings"
)

/*
Config holds the server settings.
A "quoted" word inside a block comment is not a string.
*/
type Config struct {
	Addr    string `json:"addr"`
	MaxBody int64  `json:"max_body"`
}

const (
	defaultAddr = ":8080"
	maxBody     = 1 << 20
	mask        = 0xFF
	perms       = 0o644
	flags       = 0b1010
	ratio       = 2.5e-3
	imag        = 3i
)

var greeting = "hello, \"gopher\"\n"
var sep = '\''
var usage = `usage: sample [-addr ADDR]
  serves "hello" on ADDR
  backslashes \n stay literal here`

func handle(w http.ResponseWriter, r *http.Request) {
	defer r.Body.Close()
	var body map[string]any
	if err := json.NewDecoder(http.MaxBytesReader(w, r.Body, maxBody)).Decode(&body); err != nil {
		http.Error(w, err.Error(), http.StatusBadRequest)
		return
	}
	name, ok := body["name"].(string)
	if !ok || strings.TrimSpace(name) == "" {
		name = "world"
	}
	fmt.Fprintf(w, "%s %s%c\n", greeting, name, sep)
}

func main() {
	cfg := Config{Addr: defaultAddr, MaxBody: maxBody}
	http.HandleFunc("/", handle)
	go func() {
		for i := range 3 {
			fmt.Println(i, mask, perms, flags, ratio, imag)
		}
	}()
	if err := http.ListenAndServe(cfg.Addr, nil); err != nil {
		panic(err)
	}
	_ = usage
}
