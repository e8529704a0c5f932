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
