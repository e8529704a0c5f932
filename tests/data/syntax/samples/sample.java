/*
 * sample.java - a small stack with a Javadoc comment.
 */
package demo.util;

import java.util.ArrayList;
import java.util.List;

/**
 * A bounded stack. Uses {@code ArrayList} and throws on overflow.
 *
 * @param <T> the element type
 */
@SuppressWarnings("unchecked")
public final class BoundedStack<T> implements Iterable<T> {
    private static final int DEFAULT_CAPACITY = 0x10;
    private static final long SEED = 1234567890123L;
    private static final double LOAD = 0.75d, SCALE = 1e3;
    private final List<T> items = new ArrayList<>();
    private final int capacity;

    public BoundedStack(int capacity) {
        this.capacity = capacity > 0 ? capacity : DEFAULT_CAPACITY;
    }

    @Override
    public java.util.Iterator<T> iterator() {
        return items.iterator();
    }

    public void push(T value) {
        if (items.size() >= capacity) {
            throw new IllegalStateException("stack \"full\" at " + capacity);
        }
        items.add(value);
    }

    public T pop() {
        return items.remove(items.size() - 1); // may throw when empty
    }

    public String describe() {
        char sep = '\'';
        String block = """
            Stack report:
              "capacity" = %d
            """;
        return block.formatted(capacity) + sep + LOAD + SCALE + SEED;
    }

    public static void main(String[] args) {
        var stack = new BoundedStack<String>(2);
        stack.push("a");
        stack.push("b\\");
        System.out.println(stack.describe());
        int bits = 0b1010_1010;
        float f = 2.5f;
        System.out.println(bits + f);
    }
}
