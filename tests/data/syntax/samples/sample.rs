//! sample.rs - a tokenizer with lifetimes and nested comments.
use std::collections::HashMap;
use std::fmt;

/* Outer comment /* with a nested comment */ still inside the outer one,
   and "a string" that is only text. */

/// A token borrowed from the source text.
#[derive(Debug, Clone, PartialEq)]
pub enum Token<'a> {
    Word(&'a str),
    Number(f64),
    Symbol(char),
}

impl<'a> fmt::Display for Token<'a> {
    fn fmt(&self, f: &mut fmt::Formatter<'_>) -> fmt::Result {
        match self {
            Token::Word(w) => write!(f, "word \"{}\"", w),
            Token::Number(n) => write!(f, "number {n}"),
            Token::Symbol(c) => write!(f, "symbol '{}'", c),
        }
    }
}

pub fn tokenize<'a>(text: &'a str) -> Vec<Token<'a>> {
    let mut out = Vec::new();
    for part in text.split_whitespace() {
        if let Ok(n) = part.parse::<f64>() {
            out.push(Token::Number(n));
        } else if part.len() == 1 && !part.chars().all(char::is_alphanumeric) {
            out.push(Token::Symbol(part.chars().next().unwrap_or('\0')));
        } else {
            out.push(Token::Word(part));
        }
    }
    out
}

static GREETING: &'static str = "hello";
const RAW: &str = r#"a "raw" string with \ backslash"#;
const MULTI: &str = "first line
second line of the same string";
const NUMBERS: [u64; 4] = [0xFF, 0o17, 0b1010, 42u64];
const FLOAT: f32 = 2.5e-3f32;

fn main() {
    let tokens = tokenize("let x = 42 ;");
    let mut counts: HashMap<String, usize> = HashMap::new();
    for t in &tokens {
        *counts.entry(t.to_string()).or_insert(0) += 1;
    }
    let newline = '\n';
    println!("{GREETING} {RAW} {MULTI} {:?} {FLOAT}{newline}", NUMBERS);
}
