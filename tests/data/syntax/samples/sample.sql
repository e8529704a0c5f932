-- sample.sql - schema and queries for a small shop.
/* Block comments nest here: /* this inner comment */
   is still inside the outer one. */

CREATE TABLE customers (
    id          INTEGER PRIMARY KEY,
    name        VARCHAR(100) NOT NULL,
    email       VARCHAR(255) UNIQUE,
    "Order Note" TEXT,
    created_at  TIMESTAMP DEFAULT CURRENT_TIMESTAMP
);

CREATE TABLE orders (
    id          INTEGER PRIMARY KEY,
    customer_id INTEGER REFERENCES customers (id) ON DELETE CASCADE,
    total       DECIMAL(10, 2) CHECK (total >= 0.0),
    status      CHAR(1) DEFAULT 'N'
);

INSERT INTO customers (id, name, email) VALUES
    (1, 'O''Brien', 'obrien@example.com'),
    (2, 'Smith', NULL);

insert into orders values (10, 1, 19.99, 'P'), (11, 1, 1.5e2, 'N');

SELECT c.name,
       COUNT(o.id)           AS order_count,
       COALESCE(SUM(o.total), 0) AS revenue
  FROM customers AS c
  LEFT JOIN orders o ON o.customer_id = c.id
 WHERE c.email LIKE '%@example.com'
   AND o.status IN ('P', 'N')   -- pending or new
 GROUP BY c.name
HAVING COUNT(o.id) > 0
 ORDER BY revenue DESC;

UPDATE orders
   SET status = 'S'
 WHERE id = 0x0A;

SELECT 'a string that
spans two lines' AS note;

WITH RECURSIVE counter (n) AS (
    SELECT 1
    UNION ALL
    SELECT n + 1 FROM counter WHERE n < 5
)
SELECT n, n * n AS square FROM counter;

DROP TABLE IF EXISTS temp_orders;
