def f(x):  # comment
    s = 'it\'s'
    t = """doc string
    over "lines"
    """
    u = '''single
    quoted'''
    return 0x1F + 1.5e3 + 10
r = "unterminated
print("ok")
big = 1_000_000 + 0xFF_FF + 1_0.5e1_0j + 0o1_7
